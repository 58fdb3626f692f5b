#!/usr/bin/env python3
# Writes the synthetic entries pages, the entries files expected from them
# and the entries files the extraction tests read. The expected files are cut
# here line by line, independently of the program.
import os

ICI = os.path.dirname(os.path.abspath(__file__))
GROUPE = ('    <!----><div class="large-12 medium-12 small-12 columns small-text-center" '
          'ng-if="!stadeTeamsCtrl.publicationForbidden">')
COMPET = ' ' * 16 + '<div class="container-table">'
FIN = '</ui-view></div>'


def ecrire(nom, lignes, fin='\r\n'):
    with open(os.path.join(ICI, nom), 'wb') as f:
        f.write(''.join(l + fin for l in lignes).encode('utf-8'))


def entree_groupe(n, nom, club, joueurs, indice):
    e = ['      <br>'] * 22
    e[0] = '      %d. %s' % (n, nom)
    e[3] = '      ' + club
    p = 8
    for j in joueurs:
        e[p] = '        M. ' + j if not j.startswith('Mme') else '        ' + j
        p += 2
    p -= 2
    e[p + 2] = '      </div>'
    e[p + 5] = '      ' + indice
    return e


def entree_competition(n, nom, club, joueurs, indice):
    e = ['            <br>'] * 26
    e[0] = '            %d. %s' % (n, nom)
    e[11] = '                <td class="text-center">'
    e[12] = '                ' + club
    p = 16
    for j in joueurs:
        e[p] = ('<span>Mme</span> ' + j[4:]) if j.startswith('Mme ') else '<span>M.</span> ' + j
        p += 1
    p -= 1
    e[p + 2] = '</div>'
    e[p + 5] = '      ' + indice
    return e


def entree_paires_competition(n, nom, joueurs, indice):
    e = ['            <br>'] * 24
    e[0] = '            %d. %s' % (n, nom)
    e[10] = '<span>M.</span> ' + joueurs[0]
    e[11] = '<span>M.</span> ' + joueurs[1]
    e[13] = '</div>'
    e[16] = indice + ' <span>M.</span> ' + joueurs[0]
    return e


def bloc_groupe():
    b = [GROUPE, '      <h3>Poule A</h3>']
    b += entree_groupe(1, 'EQUIPE JÉRÔME', 'Saint-Étienne &amp; Co',
                       ['Jérôme MARTIN 45', 'Loïc DURAND 32', 'Mme ÉLODIE BLANC 28',
                        'Anne O&#39;NEIL 12'], '117')
    b += entree_groupe(2, 'EQUIPE LOÏC', 'Bridge Club de Lyon',
                       ['Paul INCONNU 20', 'Marc ABSENT 30'], '50')
    return b


def bloc_competition():
    b = [COMPET, '                <table>']
    b += entree_competition(1, 'EQUIPE NORD', 'Lille Bridge', ['Jérôme MARTIN 45',
                            'Pierre SEUL 10', 'Loïc DURAND 32'], '87')
    b += entree_competition(2, 'EQUIPE SUD', 'Marseille Bridge', ['Anne O&#39;NEIL 12',
                            'Mme ÉLODIE BLANC 28'], '40')
    b += entree_competition(3, 'EQUIPE EST', 'Nancy Bridge', ['Paul INCONNU 20'], '20')
    return b


def page(blocs, titres, indentation=''):
    l = ['<!DOCTYPE html>', '<html><head><title>FFB - Espace Licencié</title></head>', '<body>']
    for t in titres:
        l.append('<h2>' + t + '</h2>')
    for b in blocs:
        l += [indentation + x if x in (GROUPE, COMPET) else x for x in b]
        l.append(FIN)
        l.append('<p>après le bloc</p>')
    l += ['</body></html>']
    return l


def garder(p, debut):
    out = [p[0]]
    on = False
    for x in p[1:]:
        if x == debut:
            on = True
        elif x == FIN:
            on = False
        if on:
            out.append(x)
    return out


def main():
    tg = 'Liste des équipes du groupe (12)'
    tc = 'Liste des équipes de la compétition'
    pages = {
        'page_groupe': (page([bloc_groupe()], [tg]), [GROUPE]),
        'page_competition': (page([bloc_competition()], [tc]), [COMPET]),
        'page_les_deux': (page([bloc_groupe(), bloc_competition()], [tg, tc]), [GROUPE, COMPET]),
        'page_aucune': (page([bloc_groupe()], ['Classement du groupe']), []),
        'page_decalee': (page([bloc_groupe()], [tg], indentation=' '), [GROUPE]),
    }
    for nom, (p, debuts) in pages.items():
        texte = p
        ecrire(nom + '.htm', texte)
        for d in debuts:
            suffixe = 'groupe' if d == GROUPE else 'competition'
            g = garder(p, d)
            if nom == 'page_decalee':
                g = [p[0]]
            ecrire('%s.%s' % (nom, suffixe),
                   g)
    # Entries files for the extraction.
    def fichier(nom, lignes):
        ecrire(nom, lignes)
    fichier('equipes.Qug', ['<!DOCTYPE html>'] + bloc_groupe())
    # The same file as a page saved before it was whole: it ends two lines
    # into the third team.
    fichier('equipes_coupe.Qug', ['<!DOCTYPE html>'] + bloc_groupe() + [
        '      3. EQUIPE TROIS', '      <br>'])
    paires = [GROUPE] + entree_groupe(1, 'PAIRE UN', '', ['Jérôme MARTIN 45',
                                      'Loïc DURAND 32'], '77') \
        + entree_groupe(2, 'PAIRE DEUX', '', ['Paul INCONNU 20', 'Marc ABSENT 30'], '50') \
        + entree_groupe(4, 'PAIRE QUATRE', '', ['Anne O&#39;NEIL 12', 'Mme ÉLODIE BLANC 28'],
                        '40')
    fichier('paires.Pag', ['<!DOCTYPE html>'] + paires)
    fichier('equipes.Quc', ['<!DOCTYPE html>'] + bloc_competition())
    pc = [COMPET] + entree_paires_competition(1, 'PAIRE NORD', ['Jérôme MARTIN 45',
                                              'Anne O&#39;NEIL 12'], '57') \
        + entree_paires_competition(2, 'PAIRE SUD', ['Loïc DURAND 32', 'Paul INCONNU 20'], '52')
    fichier('paires.Pac', ['<!DOCTYPE html>'] + pc)


main()
