#include "catalogue/ProgramOrder.h"

#include "catalogue/CatalogueStore.h"
#include "platform/Codec.h"

#include <gtest/gtest.h>

using namespace katalog;

namespace {

const char16_t* const Records = uR"([Bez]
win95=0
[Dvojí]
win95=1
linux=1
[Freeware]
Licence=Freeware
[malé]
Licence=freeware
[Palm]
palm=1
[Stará]
DOS=1
[Tučňák]
linux=2
)";

struct Case {
    int order;
    QStringList expected;
};

}  // namespace

// The groups that the window's tests leave empty: exact "Freeware", a DOS key found by "dos",
// a program for palm only, and a program in two groups taking the first.
TEST(ProgramOrder, EachGroupTakesItsProgramsInTurnTheRestFollow) {
    CatalogueStore store;
    store.load(platform::toCp1250(QStringView(Records)));
    const QStringList alphabetical{"Bez", "Dvojí", "Freeware", "malé", "Palm", "Stará", "Tučňák"};
    const Case cases[] = {
        {1, {"Freeware", "Bez", "Dvojí", "malé", "Palm", "Stará", "Tučňák"}},
        {3, {"Dvojí", "Stará", "Tučňák", "Palm", "Bez", "Freeware", "malé"}},
        {0, alphabetical},
        {9, alphabetical},
    };
    for (const Case& c : cases)
        EXPECT_EQ(groupPrograms(alphabetical, c.order, store), c.expected) << c.order;
    EXPECT_TRUE(groupPrograms({}, 3, store).isEmpty());
}

// Slovak has "ä" as a letter of its own after "a"; Czech takes it for an "a".
TEST(ProgramOrder, SlovakAndCzechCollationsDifferWhereTheLanguagesDo) {
    QStringList czech{"azbuka", "äb", "Chata", "hora"};
    QStringList slovak = czech;
    sortAlphabetically(czech, listCollator(false));
    sortAlphabetically(slovak, listCollator(true));
    EXPECT_EQ(czech, QStringList({"äb", "azbuka", "hora", "Chata"}));
    EXPECT_EQ(slovak, QStringList({"azbuka", "äb", "hora", "Chata"}));
}
