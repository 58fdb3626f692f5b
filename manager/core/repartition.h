#pragma once
// Sharing qualified places between centres in proportion to their entries,
// by the largest remainder.
#include <QString>
#include <vector>

struct RepartitionCentre {
    qint64 quota = 0;    // exact share in ten-thousandths
    int places = 0;      // whole places given to the centre
    bool proche = false; // fraction strictly between 0.34 and 0.66: shown red
};

// qualifiees places, horsQuota of them given by right first; entrees holds
// the entries of the centres in play.
std::vector<RepartitionCentre> RepartitionCentres(int qualifiees, int horsQuota,
                                                  const std::vector<int> &entrees);
// A quota in ten-thousandths in fixed notation with six decimals ("25,714300").
QString TexteQuota(qint64 dixMilliemes);
