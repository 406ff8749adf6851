// The record text kinds: what a blank becomes, how each pastes into SQL, and
// a loaded text held as read.
#include <gtest/gtest.h>

#include "frame/RecordText.hpp"

namespace tk::am {
namespace {

const std::string kZeros(310, '0');

TEST(RecordText, BlankValuesBecomeOneSpaceOrTheZeroKeyAsInTheBlankForm) {
    EXPECT_EQ(RecordText(TextKind::AsAssigned).str(), " ");
    EXPECT_EQ(RecordText(TextKind::FlexibleKey).str(), kZeros);
    RecordText quoted(TextKind::Quoted), kept(TextKind::Kept), key(TextKind::FlexibleKey),
        exactKey(TextKind::AsAssignedFlexibleKey);
    for (const char* blank : {"", "   "}) {
        quoted = blank;
        kept = blank;
        key = blank;
        exactKey = blank;
        EXPECT_EQ(quoted.str(), " ");
        EXPECT_EQ(kept.str(), " ");
        EXPECT_EQ(key.str(), kZeros);
        EXPECT_EQ(exactKey.str(), kZeros);
    }
    quoted = "  padded ";
    EXPECT_EQ(quoted.str(), "  padded ") << "other values are not trimmed";
}

TEST(RecordText, EachKindPastesAValidLiteralBody) {
    RecordText quoted(TextKind::Quoted), kept(TextKind::Kept), exact(TextKind::AsAssigned);
    quoted = "Li's";
    kept = "2024-01-01";
    exact = "Li's";
    EXPECT_EQ(quoted.str(), "Li''s");
    EXPECT_EQ(quoted.sqlBody(), "Li''s");
    EXPECT_EQ(kept.sqlBody(), "2024-01-01");
    EXPECT_EQ(exact.str(), "Li's");
    EXPECT_EQ(exact.sqlBody(), "Li''s");
}

TEST(RecordText, ALoadedTextIsHeldAsReadAndQuotedOnlyWhenPasted) {
    RecordText quoted(TextKind::Quoted), kept(TextKind::Kept);
    quoted.load("Li's");
    kept.load("");
    EXPECT_EQ(quoted.str(), "Li's");
    EXPECT_EQ(quoted.sqlBody(), "Li''s");
    EXPECT_EQ(kept.str(), "") << "a load applies no blank rule";
    quoted.clear();
    EXPECT_EQ(quoted.str(), " ");
}

}  // namespace
}  // namespace tk::am
