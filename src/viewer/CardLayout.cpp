#include "viewer/CardLayout.h"

namespace ab {
namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kViolet(128, 0, 255);

}  // namespace

// The caption rows and the value rows do not share every edge (row 4 ends at
// 310, row 9 at 312); the rows stand as the card has always been drawn.
const std::array<CardRowStyle, kCardRows> cardLayout = {{
    {{0, 0, 200, 100}, QColor(), Qt::AlignLeft},          // logo
    {{380, 0, 520, 180}, QColor(), Qt::AlignLeft},        // photo
    {{0, 120, 300, 220}, kRed, Qt::AlignLeft},            // company
    {{55, 240, 65, 408}, kGridGrey, Qt::AlignLeft},       // separator bar
    {{-30, 240, 50, 310}, kBlue, Qt::AlignRight},         // caption: address
    {{-30, 310, 50, 336}, kBlue, Qt::AlignRight},         // caption: phone
    {{-30, 336, 50, 360}, kBlue, Qt::AlignRight},         // caption: fax
    {{-30, 360, 50, 384}, kBlue, Qt::AlignRight},         // caption: e-mail
    {{-30, 384, 50, 408}, kBlue, Qt::AlignRight},         // caption: web page
    {{70, 240, 310, 312}, kBlack, Qt::AlignLeft},         // work address line
    {{70, 312, 310, 336}, kBlack, Qt::AlignLeft},         // work phone
    {{70, 336, 310, 360}, kBlack, Qt::AlignLeft},         // work fax
    {{70, 360, 310, 384}, kBlue, Qt::AlignLeft},          // preferred e-mail (link)
    {{70, 384, 310, 408}, kBlue, Qt::AlignLeft},          // business web page (link)
    {{340, 240, 560, 312}, kBlack, Qt::AlignHCenter},     // name
    {{340, 312, 560, 336}, kViolet, Qt::AlignHCenter},    // job title
    {{340, 336, 560, 360}, kViolet, Qt::AlignHCenter},    // department
}};

}  // namespace ab
