#pragma once
// Scoring of a teams-of-four match: victory points on the continuous scale,
// PE and PC of each half, the IV handicap and the IV-cap penalty. Points
// are whole numbers of hundredths.
#include "platform/text/exceptions.h"

#include <QString>

// A match the scale cannot score (no deals, too many deals, too wide a
// margin): the message says which.
class ECalculPV : public platform::Exception
{
public:
    using platform::Exception::Exception;
};

// The winner's points above 10, in hundredths (0..1000), for N deals and a
// margin of M IMPs, both 0..255 (ECalculPV otherwise, or for N = 0 with a
// margin).
int EchellePV(qint64 n, qint64 m);
// PV of the side that scored a IMPs against b over N deals.
int CalculPV(qint64 n, qint64 a, qint64 b);
// PE of one half: N x PV x 3 / 8, a tie to the even number.
qint64 CalculPE(qint64 n, qint64 pv);
// PC of one half: 1.7 x (PV + 200) x cube root(IVmA x IVmB / 10000).
qint64 CalculPC(qint64 pv, qint64 ivmA, qint64 ivmB);
// IMPs given to the weaker side: (opponent - own) x N / 160 when the
// opponent's eight IVs sum higher, else 0.
qint64 BonusIV(qint64 propre, qint64 adverse, qint64 n);
// 4 IMPs per IV point above the cap, for each half of a side.
qint64 PenaliteIV(qint64 plafond, qint64 s1, qint64 s2);

// The information shown after a calculation.
QString messageCalculQuatre();
