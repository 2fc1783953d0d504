#include <gtest/gtest.h>

#include <cmath>

#include "platform/framework/SysUtils.h"

TEST(FrameworkFormat, DirectivesFollowTheArgumentTypes)
{
    EXPECT_EQ(Format(SListIndexError, 7), "List index out of bounds (7)");
    EXPECT_EQ(Format(sInvalidLevel, -3), "Invalid level (-3)");
    EXPECT_EQ(Format("%s=%5.2f|%-4d|%x|%%", std::string("pi"), 3.14159, 42, 255u), "pi= 3.14|42  |ff|%");
    EXPECT_EQ(Format(SFOpenError, "a.lxt", "No such file"), "Cannot open file \"a.lxt\". No such file");
    // 64-bit values are not truncated by the directive.
    EXPECT_EQ(Format("%d", 1LL << 40), "1099511627776");
    // A directive that does not fit its argument, or a missing argument, is an error.
    EXPECT_THROW(Format("%d", "text"), EConvertError);
    EXPECT_THROW(Format("%s", 1), EConvertError);
    EXPECT_THROW(Format("%d %d", 1), EConvertError);
}

TEST(FrameworkStrings, CompareTextFoldsOnlyAsciiLetters)
{
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_TRUE(SameText("Node 1", "NODE 1"));
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    // Letters compare as upper case, so '_' (0x5F) sorts after every letter.
    EXPECT_GT(CompareText("_", "a"), 0);
    // UTF-8 letters are bytes: "ä" and "Ä" differ.
    EXPECT_NE(CompareText("\xC3\xA4", "\xC3\x84"), 0);
    EXPECT_LT(CompareStr("ABC", "abc"), 0);
    EXPECT_EQ(UpperCase("a\xC3\xA4z"), "A\xC3\xA4Z");
    EXPECT_EQ(LowerCase("A\xC3\x84Z"), "a\xC3\x84z");
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
}

TEST(FrameworkConvert, IntegersAcceptDecimalAndHexAndRejectTheRest)
{
    EXPECT_EQ(StrToInt(" 42 "), 42);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0x10"), 16);
    EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(StrToIntDef("x", 9), 9);
    EXPECT_EQ(IntToStr(-17), "-17");
    try {
        StrToInt("12a");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'12a' is not a valid integer value");
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt(""), EConvertError);
    EXPECT_THROW(StrToInt("-"), EConvertError);
}

TEST(FrameworkConvert, FloatsRoundTrip)
{
    for (double v : {0.0, 1.5, -2.25, 1234567.125, 1e-7, 3.141592653589})
        EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(v)), v) << FloatToStr(v);
    EXPECT_EQ(FloatToStr(1234567.0).find(','), std::string::npos); // no group separators
    EXPECT_THROW(StrToFloat("1.2.3"), EConvertError);
    EXPECT_THROW(StrToFloat("abc"), EConvertError);
    EXPECT_EQ(MulDiv(8, 96, 72), 11);
    EXPECT_EQ(MulDiv(-11, 72, 96), -8);
    EXPECT_EQ(MulDiv(1, 2, 0), -1);
}

TEST(FrameworkConvert, DatesAndTimesRoundTripAndRejectNonsense)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 1, 1), 36526.0);
    const TDateTime date = EncodeDate(2024, 2, 29);
    EXPECT_DOUBLE_EQ(StrToDate(DateToStr(date)), date) << DateToStr(date);
    const TDateTime time = EncodeTime(13, 5, 9, 0);
    EXPECT_NEAR(StrToTime(TimeToStr(time)), time, 1e-9) << TimeToStr(time);
    int h, m, s, ms;
    DecodeTime(time, h, m, s, ms);
    EXPECT_EQ(h * 10000 + m * 100 + s, 130509);
    int y, mo, d;
    DecodeDate(date + time, y, mo, d);
    EXPECT_EQ(y * 10000 + mo * 100 + d, 20240229);
    EXPECT_NEAR(StrToDateTime(DateTimeToStr(date + time)), date + time, 1e-9);
    EXPECT_THROW(StrToDate("not a date"), EConvertError);
    EXPECT_THROW(StrToTime("25:99"), EConvertError);
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}

TEST(FrameworkExceptions, HierarchyLetsCallersCatchByFamily)
{
    EXPECT_THROW(throw EReadError(SReadError), EStreamError);
    EXPECT_THROW(throw EReadError(SReadError), EFilerError);
    EXPECT_THROW(throw EFOpenError("x"), EStreamError);
    EXPECT_THROW(throw EStringListError("x"), EListError);
    EXPECT_THROW(throw EOutOfResources(sInsertError), Exception);
    Exception e("first");
    e.SetMessage("second");
    EXPECT_STREQ(e.what(), "second");
}
