#!/usr/bin/env python3
"""The guides' check fails on a message added to a window in each way a
message reaches a user, and passes on the same file once the guide has it.

Usage: guide_messages_check_test.py SOURCE_DIR
"""
import os
import shutil
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'guide_messages_check.py')
MESSAGE = 'Le tableau des lots reste à compléter'

# Each way a window's source hands a text to the user.
WAYS = {
    'constant before the box': '''
const QString kLots = QStringLiteral("%s");
void TVorn_FGestion::LotsClick()
{
    MessageDlg(kLots, mtWarning, mbOK);
}
''',
    'local text before the box': '''
void TVorn_FGestion::LotsClick()
{
    const QString texte =
        QStringLiteral("%s");
    if (MessageDlg(texte, mtConfirmation, mbYes | mbNo) != mrYes)
        return;
}
''',
    "Qt's message box": '''
void TVorn_FGestion::LotsClick()
{
    QMessageBox::warning(this, QStringLiteral("Gestion"), QStringLiteral("%s"));
}
''',
    "Qt's message box, its text set": '''
void TVorn_FGestion::LotsClick()
{
    QMessageBox box(this);
    box.setText(QStringLiteral("%s"));
    box.exec();
}
''',
    'exception thrown': '''
void TVorn_FGestion::LotsClick()
{
    throw Exception(QStringLiteral("%s"));
}
''',
    'message in a header': '''
class ELots : public platform::Exception
{
public:
    ELots() : platform::Exception(QStringLiteral("%s")) {}
};
''',
}


def run(check, root):
    return subprocess.run([sys.executable, check, root], capture_output=True, text=True)


def main():
    source = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        # The check beside an empty list of exemptions: the real list names
        # texts of sources that the small trees below do not have.
        check = os.path.join(tmp, 'check', os.path.basename(CHECK))
        os.makedirs(os.path.dirname(check))
        shutil.copy(CHECK, check)
        open(os.path.join(tmp, 'check', 'guide_messages_exempt.txt'), 'w').close()
        for way, code in WAYS.items():
            root = os.path.join(tmp, way.replace(' ', '_').replace("'", ''))
            shutil.copytree(os.path.join(source, 'resources/help'), os.path.join(root, 'resources/help'))
            os.makedirs(os.path.join(root, 'manager'))
            shutil.copy(os.path.join(source, 'resources/report_strings.txt'), os.path.join(root, 'resources'))
            name = 'gestion.h' if 'header' in way else 'gestion.cpp'
            with open(os.path.join(root, 'manager', name), 'w', encoding='utf-8') as f:
                f.write(code % MESSAGE)
            seen = run(check, root)
            if seen.returncode == 0 or MESSAGE not in seen.stdout:
                failures.append('%s: the check did not name the message (%s)' % (way, seen.stdout.strip()))
            with open(os.path.join(root, 'resources/help/Challenge.md'), 'a', encoding='utf-8') as f:
                f.write('\n- « %s » : complétez le tableau.\n' % MESSAGE)
            seen = run(check, root)
            if seen.returncode != 0:
                failures.append('%s: the check fails with the message in the guide (%s)' % (way, seen.stdout.strip()))
    for line in failures:
        print(line)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
