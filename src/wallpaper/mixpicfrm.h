#pragma once

#include <QImage>
#include <QString>

struct MixResult {
    bool ok = false;
    QString error; // set when the blend reached a row outside the receiving picture
    bool tooShort = false;
};

// Holder of the three picture slots of the blend; never shown.
class TMixPicFrm
{
public:
    QImage img1;   // content
    QImage img2;   // background
    QImage imgmix; // result

    // Blends content A into background B, or B into A when B is not taller (then without the
    // top offset t). Both become Format_RGB32 in place; the receiving one is changed and is
    // the result (*received tells which: true = B). Pure white source pixels are skipped, all
    // others move f percent toward the source, truncated toward zero. The source's right edge
    // sits 50 px inside the wider picture's right edge; columns outside the receiving picture
    // are clipped. Fails, with the rows above already blended, when a source row falls below
    // the receiving picture.
    static MixResult MixPicture(QImage &A, QImage &B, int t, int f, bool *received = nullptr);

    // The blend of the apply: img1 into img2 at 30 rows down, half and half; the result goes
    // to imgmix and both inputs are emptied.
    MixResult mix();
};
