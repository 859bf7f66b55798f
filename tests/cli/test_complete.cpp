// qorv --complete: the names the shell completion offers, from the tool itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/qorvrun.h"

using namespace qvtest;

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

bool contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

} // namespace

TEST(QorvComplete, CommandsDialogsControlsAndValues) {
    TempDir dir;
    Outcome r = qorv(dir, {"--complete", "commands"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "info\ndump\nget\nset\nips\n");
    EXPECT_EQ(qorv(dir, {"--complete", "ips"}).out, "apply\ncreate\nshow\n");

    r = qorv(dir, {"--complete", "dialogs"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Mario\nGeneral 1\nBasic blocks\nStaircase\nGeneral 2\nEnemy 1\nEnemy 2\n"
                     "Enemy 3\nScoring\nColor\nPalette\n");

    // Every control once, in dialog order; one dialog's alone when it is named.
    const std::vector<std::string> all = lines(qorv(dir, {"--complete", "controls"}).out);
    EXPECT_EQ(all.front(), "EditMaWalk_R");
    EXPECT_TRUE(contains(all, "CmbFireShot"));
    EXPECT_TRUE(contains(all, "ChkMuteki1"));
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    const std::vector<std::string> mario =
        lines(qorv(dir, {"--complete", "controls", "mario"}).out);
    EXPECT_EQ(mario.size(), 56u);
    EXPECT_EQ(mario.front(), "EditMaWalk_R");
    EXPECT_TRUE(contains(mario, "CmbMaDokanHeight"));
    const std::vector<std::string> enemy1 =
        lines(qorv(dir, {"--complete", "controls", "Enemy 1"}).out);
    EXPECT_FALSE(enemy1.empty());
    EXPECT_FALSE(contains(enemy1, "EditMaWalk_R"));

    EXPECT_EQ(qorv(dir, {"--complete", "values", "ChkMuteki1"}).out, "checked\nunchecked\n");
    const std::vector<std::string> fire =
        lines(qorv(dir, {"--complete", "values", "CmbFireShot"}).out);
    EXPECT_TRUE(contains(fire, "Never"));
    EXPECT_TRUE(contains(fire, "As Super Mario"));
    r = qorv(dir, {"--complete", "values", "EditMaWalk_R"}); // a number: nothing to offer
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
}

TEST(QorvComplete, UnknownRequestsFailAndTheOptionStaysOutOfHelp) {
    TempDir dir;
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--complete"},
                                                 {"--complete", "bogus"},
                                                 {"--complete", "controls", "Luigi"},
                                                 {"--complete", "values", "EditNothing"},
                                                 {"--complete", "commands", "extra"}}) {
        const Outcome r = qorv(dir, args);
        EXPECT_EQ(r.status, 1) << args.size();
        EXPECT_EQ(r.out, "");
    }
    const Outcome help = qorv(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.find("--complete"), std::string::npos);
}
