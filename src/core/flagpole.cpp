#include "core/flagpole.h"

namespace qv::flagpole {

std::string rowLabel(int r) {
    std::string n = std::to_string(r - 1);
    if (n.size() < 2) n.insert(0, 1, ' ');
    return n + ' ';
}

Row cells(const Positions& p, int r) {
    // Empty cells show the sky above the ground rows and the ground below.
    const std::string_view none = r < 12 ? "  " : "□";
    Row row{none, none, none, none};

    if (r == p.flagStop)
        row[0] = "止";
    else if (r == p.flag - 2)
        row[0] = r < 12 ? "＿" : "□";
    else if (r == p.flag - 1)
        row[0] = "＼";
    else if (r == p.flag)
        row[0] = "↓";

    if (r == p.block + 1)
        row[1] = "■";
    else if (r == p.poleStart + 1)
        row[1] = "┃";
    else if (r > p.poleStart + 1 && r <= p.poleStart + p.poleEnd + 1)
        row[1] = "│";
    else if (r == p.finial && p.finial > 0)
        row[1] = "●";

    if (r == p.score - 1)
        row[2] = "00";
    else if (r == p.score - 2)
        row[2] = "↑";

    if (r == p.dropDown + 1)
        row[3] = "※";
    else if (r == p.marioStop + 1)
        row[3] = "←";
    return row;
}

std::string text(const Positions& p) {
    std::string out;
    for (int r = 0; r < kRows; ++r) {
        if (r) out += "\r\n";
        out += rowLabel(r);
        for (std::string_view c : cells(p, r))
            out += c;
    }
    return out;
}

} // namespace qv::flagpole
