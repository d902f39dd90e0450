// The small text functions of the drawing files: integer texts, spaces,
// circle view codes, the colour tables, the field tokenizer, the number
// text the writers make, the line scanner, and the readers over streams that
// cannot seek.
#include "format_test_support.h"

#include "formats/common/line_reader.h"
#include "formats/common/record_fields.h"
#include "formats/common/text_writer.h"
#include "formats/dxf/dxf.h"
#include "formats/dxf/dxf_full.h"
#include "formats/iges/iges.h"
#include "formats/ovx/ovx.h"

#include <OrvexGDI/Elements.h>
#include <OrvexGDI/Ops.h>
#include <OrvexGDI/OpsFileText.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace orvex {
namespace {

TEST(FileText, ValInt)
{
    EXPECT_EQ(Ops::val_int(" 1 2 "), 12);
    EXPECT_EQ(Ops::val_int("-42"), -42);
    EXPECT_EQ(Ops::val_int("+7"), 7);
    EXPECT_EQ(Ops::val_int("2147483647"), 2147483647);
    EXPECT_EQ(Ops::val_int("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(Ops::val_int("2147483648"), 0);
    EXPECT_EQ(Ops::val_int("00000000000000000012"), 12);
    for (const char* none : {"", "   ", "-", "1.0", "12a", "--5", "5-", "\t5"})
        EXPECT_EQ(Ops::val_int(none), 0) << none;
}

TEST(FileText, StripSpacesKeepsOtherWhiteSpace) { EXPECT_EQ(Ops::strip_spaces(" a b\tc \n"), "ab\tc\n"); }

TEST(FileText, FixCircleViewCodes)
{
    struct Case {
        int code, view;
        double x, y, z;
    };
    const Case cases[] = {{1, 1, 1, 2, 3},   {2, 2, 1, -3, 2},  {3, 2, -1, 3, 2}, {4, 1, -1, 2, -3},
                          {6, 3, -3, -1, 2}, {44, 1, -1, 2, 3}, {17, 17, 1, 2, 3}};
    for (const Case& c : cases) {
        double x = 1, y = 2, z = 3;
        int view = 0;
        Ops::fix_circle(x, y, z, c.code, view);
        EXPECT_EQ(view, c.view) << c.code;
        EXPECT_EQ((std::vector<double>{x, y, z}), (std::vector<double>{c.x, c.y, c.z})) << c.code;
    }
}

TEST(FileText, ColourTables)
{
    EXPECT_EQ(Ops::get_ovx_color(0x0000FF), 12);
    EXPECT_EQ(Ops::get_ovx_color(0xC0C0C0), 14);
    EXPECT_EQ(Ops::get_ovx_color(0x0000FE), 10);
    for (int i = 1; i < 15; ++i)
        EXPECT_EQ(Ops::get_ovx_color(Ops::set_ovx_color(i, 0x000000)), i);
    EXPECT_EQ(Ops::set_iges_color(9), 0x0000FF);
    EXPECT_EQ(Ops::set_iges_color(12), 0x00FF00);
    EXPECT_EQ(Ops::set_iges_color(15), 0xFFFFFF);
    EXPECT_EQ(Ops::set_iges_color(16), 0x00FF00);
    EXPECT_EQ(Ops::set_iges_color(-3), 0x00FF00);
}

TEST(FileText, ItemTokenizer)
{
    EXPECT_EQ(formats::item(2, "LINE   1,2.5,3", 1), 2.5);
    EXPECT_EQ(formats::item(3, "LINE   1,2.5,3", 1), 3); // the appended comma ends the last field
    EXPECT_EQ(formats::item(4, "LINE   1,2.5,3", 1), 0);
    EXPECT_EQ(formats::item(1, "", 1), 0);
    EXPECT_EQ(formats::item(2, "110,1.5D2,2;   3P0000002", 3), 150);
    EXPECT_EQ(formats::item(3, "110,1.5D2,2;   3P0000002", 3), 2);
    EXPECT_EQ(formats::item(4, "110,1.5D2,2;   3P0000002", 3), 0); // after the last comma: never a field
    EXPECT_EQ(formats::item(1, "x,abc,", 3), 0);
    EXPECT_THROW(formats::item(1, "LINE 1D,", 1), EConvertError);
    EXPECT_EQ(formats::item(1, "LINE 1D+2", 1), 100);
    EXPECT_EQ(formats::item(1, "LINE -.5e1", 1), -5);
    EXPECT_EQ(formats::item(1, "LINE 1e999", 1), HUGE_VAL);
    for (const char* none : {"LINE inf", "LINE nan", "LINE .", "LINE 1e", "LINE 0x10", "LINE 1.2.3"})
        EXPECT_EQ(formats::item(1, none, 1), 0) << none;
}

TEST(FileText, DecimalTextsReadAsTheCLibraryReadsThem)
{
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> value(-1e6, 1e6);
    std::uniform_int_distribution<int> decimals(0, 12);
    char text[64];
    std::uniform_int_distribution<int> scale(-40, 40);
    for (int i = 0; i < 100000; ++i) {
        std::snprintf(text, sizeof text, "%.*f", decimals(random), value(random));
        ASSERT_EQ(*formats::parse_decimal(text), std::strtod(text, nullptr)) << text;
        // With an exponent, as IGES writers write their reals.
        std::snprintf(text, sizeof text, "%.*E", decimals(random) + 2, value(random) * std::pow(10.0, scale(random)));
        ASSERT_EQ(*formats::parse_decimal(text), std::strtod(text, nullptr)) << text;
    }
    for (const char* t :
         {"0.1", "-.5", "5.", "123456789012345", "1234567890123456789", "0.000000000000000001", "9007199254740993",
          "1e22", "4.9e-324", "123456789012345E22", "1.5E-22", "-0.0E5", "12.5e+023"})
        EXPECT_EQ(*formats::parse_decimal(t), std::strtod(t, nullptr)) << t;
}

TEST(FileText, IntegerFieldsRoundHalfToEven)
{
    EXPECT_EQ(formats::round_int(2.5), 2);
    EXPECT_EQ(formats::round_int(3.5), 4);
    EXPECT_EQ(formats::round_int(-2.5), -2);
    EXPECT_EQ(formats::round_int(2147483647.4), 2147483647);
    EXPECT_THROW(formats::round_int(2147483647.5), ERangeError);
    EXPECT_THROW(formats::round_int(std::nan("")), ERangeError);
    EXPECT_EQ(formats::trunc_int(-7.9), -7);
}

namespace {
// The number text made the plain way: formatted print with four decimals,
// cut to 15 characters, then the redundant zeros and signs removed.
std::string reference_real_text(double x)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.4f", x);
    std::string text(buffer);
    if (text == "-0.0000")
        text = "0.0000";
    if (text.size() > 15)
        text.resize(15);
    if (text.find('.') != std::string::npos) {
        while (!text.empty() && text.back() == '0')
            text.pop_back();
        if (!text.empty() && text.back() == '.')
            text.push_back('0');
        if (!text.empty() && text.front() == '0')
            text.erase(0, 1);
        else if (text.size() >= 2 && text[0] == '-' && text[1] == '0')
            text.erase(1, 1);
    }
    return text;
}
} // namespace

TEST(FileText, WritersNumberTextMatchesTheFormattedPrintReference)
{
    std::vector<double> values = {0,
                                  -0.0,
                                  0.5,
                                  -0.5,
                                  2,
                                  1.23456,
                                  -0.25,
                                  12.5,
                                  -3.1,
                                  1e-5,
                                  -4e-5,
                                  0.00005,
                                  -0.00005,
                                  1e9,
                                  -1e9,
                                  1e14,
                                  1e15,
                                  123456789.12345,
                                  -1e300,
                                  1e300,
                                  0.03125,
                                  -0.03125,
                                  0.09375,
                                  2.00015,
                                  999999999.99995,
                                  -999999999.99995,
                                  0.99995,
                                  -0.99995,
                                  99999.99995,
                                  5e-324,
                                  HUGE_VAL,
                                  -HUGE_VAL};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-1e10, 1e10), narrow(-2, 2);
    std::uniform_int_distribution<int> decimals(0, 6);
    for (int i = 0; i < 200000; ++i) {
        const double scale = std::pow(10.0, decimals(random));
        values.push_back(std::round(wide(random) * scale) / scale);
        values.push_back(narrow(random));
        // Near-halves of the fourth decimal, where the last bit decides.
        const double k = std::round(wide(random) / 1e5);
        values.push_back((k + 0.5) / 1e4);
        values.push_back(std::nextafter((k + 0.5) / 1e4, 0.0));
    }
    for (double x : values) {
        char text[16];
        const std::string expected = reference_real_text(x);
        if (formats::writable_real(x))
            ASSERT_EQ(std::string(text, formats::real_text(x, text)), expected) << x;
        else
            ASSERT_THROW(formats::real_text(x, text), formats::UnwritableValue) << x;
        ASSERT_EQ(Ops::str_real(x), expected) << x;
    }
}

TEST(FileText, WriterRefusesValuesWhoseTextWouldBeCutBeforeThePoint)
{
    // The text holds 15 characters: every digit before the point must fit,
    // the minus sign included, or the value reads back as another number.
    const double nan = std::nan("");
    const struct {
        double value;
        bool writable;
    } rows[] = {{std::nextafter(1e15, 0.0), true},
                {1e15, false},
                {std::nextafter(-1e14, 0.0), true},
                {-1e14, false},
                {-5e14, false},
                {1e20, false},
                {nan, false},
                {HUGE_VAL, false},
                {-HUGE_VAL, false}};
    for (const auto& row : rows) {
        char text[16];
        if (!row.writable) {
            EXPECT_THROW(formats::real_text(row.value, text), formats::UnwritableValue) << row.value;
            continue;
        }
        const std::string written(text, formats::real_text(row.value, text));
        EXPECT_EQ(std::trunc(std::stod(written)), std::trunc(row.value)) << written;
    }
}

TEST(LineScanner, LineEndsAndChunkBoundaries)
{
    // A small chunk puts line ends, CR LF pairs included, on chunk borders.
    std::istringstream in("ab\r\ncd\ref\n\ngh\r\r\nlast");
    formats::LineReader reader(in, 3);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "cd", "ef", "", "gh", "", "last"}));
    EXPECT_EQ(reader.line_number(), 7);
    EXPECT_TRUE(reader.at_end());
}

TEST(LineScanner, LongAndShortLinesOfEveryEndingInAnyChunking)
{
    // Lines of 0 to 40 characters, so that line ends fall both in the short
    // look and in the wide search, and every ending on a chunk border.
    std::mt19937 random(5);
    std::uniform_int_distribution<int> length(0, 40), ending(0, 2), chunk(1, 70);
    const char* const endings[] = {"\n", "\r", "\r\n"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        std::vector<std::string> expected;
        bool afterLoneCR = false;
        for (int n = length(random) % 12; n >= 0; --n) {
            expected.emplace_back(static_cast<std::size_t>(length(random)), static_cast<char>('a' + n));
            // An empty line after a lone CR must end in CR too, or the two
            // ends would make one CR LF.
            const int end = afterLoneCR && expected.back().empty() ? 1 : ending(random);
            text += expected.back() + endings[end];
            afterLoneCR = end == 1;
        }
        if (round % 2 == 1) {
            expected.emplace_back("tail without an end");
            text += expected.back();
        }
        std::istringstream in(text);
        const auto chunkSize = static_cast<std::size_t>(chunk(random));
        formats::LineReader reader(in, chunkSize);
        std::vector<std::string> lines;
        std::string_view line;
        while (reader.next(line))
            lines.emplace_back(line);
        ASSERT_EQ(lines, expected) << "round " << round << " chunk " << chunkSize << " text "
                                   << ::testing::PrintToString(text);
    }
}

TEST(PlainRecordFields, ReadWhatTheGeneralSplitReads)
{
    // Records of the writers' shape, and their corner cases: empty fields,
    // signs without digits, fifteen digits, the most fields allowed.
    const std::vector<std::string> records = {"1.5,-2.25,.0,10.0,5.5,.0,1,1,0,1",
                                              ",,",
                                              "-,+,.",
                                              "-0,+7,5.,.5",
                                              "123456789012345,-0.00000000000001",
                                              "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22",
                                              ""};
    for (const std::string& record : records) {
        formats::PlainFields plain;
        ASSERT_TRUE(plain.parse(record)) << record;
        formats::RecordFields general;
        const std::string line = "LINE " + record; // the fields are views into it
        general.split_ovx(line);
        for (int n = 0; n <= 23; ++n) {
            const double expected = general.value(n), got = plain.value(n);
            EXPECT_EQ(std::signbit(got), std::signbit(expected)) << record << " field " << n;
            EXPECT_EQ(got, expected) << record << " field " << n;
        }
    }
}

TEST(PlainRecordFields, RefuseWhatOnlyTheGeneralSplitReads)
{
    // Every one of these is left to the general split, which knows spaces,
    // exponents, long numbers and records with too many fields.
    for (const char* record :
         {"1, 2", "1 ", "1e5", "1E5", "1.5D3", "1234567890123456", "0.1234567890123456",
          "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23", "1;2", "x", "1,-x", "1.2.3", "--1", "1\t"}) {
        formats::PlainFields plain;
        EXPECT_FALSE(plain.parse(record)) << record;
    }
}

// Hands out its text seven bytes at a time and cannot seek, as a pipe does.
class PipeBuffer : public std::streambuf {
public:
    explicit PipeBuffer(std::string text) : text_(std::move(text)) {}

protected:
    int_type underflow() override
    {
        if (at_ >= text_.size())
            return traits_type::eof();
        char* piece = text_.data() + at_;
        const std::size_t n = std::min<std::size_t>(7, text_.size() - at_);
        setg(piece, piece, piece + n);
        at_ += n;
        return traits_type::to_int_type(*piece);
    }
    pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override { return -1; }
    pos_type seekpos(pos_type, std::ios_base::openmode) override { return -1; }

private:
    std::string text_;
    std::size_t at_ = 0;
};

std::string sample(const char* name)
{
    std::ifstream in(std::string(ORVEX_TEST_DATA_DIR) + "/../../samples/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A binary DXF of one line and one circle, with one-byte group codes.
std::string binary_dxf()
{
    std::string bin("AutoCAD Binary DXF\r\n\x1a\0", 22);
    auto text = [&](int code, const char* t) {
        bin += static_cast<char>(code);
        bin.append(t, std::strlen(t) + 1);
    };
    auto real = [&](int code, double v) {
        bin += static_cast<char>(code);
        bin.append(reinterpret_cast<const char*>(&v), 8);
    };
    text(0, "SECTION"), text(2, "ENTITIES");
    text(0, "LINE"), text(8, "3"), real(10, 1.5), real(20, -2), real(11, 3), real(21, 4);
    text(0, "CIRCLE"), text(8, "5"), real(10, 7), real(20, 8), real(40, 2.5);
    text(0, "ENDSEC"), text(0, "EOF");
    return bin;
}

TEST(FormatStreams, ReadersNeedNoSeeking)
{
    using Read = void (*)(std::istream&, formats::DrawingSink&);
    const struct {
        const char* what;
        Read read, readFull;
        std::string text;
    } rows[] = {
        {"OVX", formats::ovx::read, formats::ovx::read, sample("house.ovx")},
        {"DXF", formats::dxf::read, formats::dxf::read_full, sample("house.dxf")},
        {"binary DXF", formats::dxf::read, formats::dxf::read_full, binary_dxf()},
        {"IGES", formats::iges::read, formats::iges::read_full, sample("matrix_and_continuation.igs")},
    };
    for (const auto& row : rows) {
        for (const TImportMode mode : {imBasic, imFull}) {
            SCOPED_TRACE(std::string(row.what) + (mode == imFull ? ", full import" : ", basic import"));
            auto seekable = testing_formats::fresh(), piped = testing_formats::fresh();
            const Read read = mode == imFull ? row.readFull : row.read;
            std::istringstream file(row.text);
            read(file, *seekable);
            PipeBuffer pipe(row.text);
            std::istream stream(&pipe);
            read(stream, *piped);

            ASSERT_GT(seekable->Elements.Count(), 0);
            ASSERT_EQ(piped->Elements.Count(), seekable->Elements.Count());
            for (int i = 0; i < seekable->Elements.Count(); ++i) {
                const TElement& a = seekable->Elements[i];
                const TElement& b = piped->Elements[i];
                EXPECT_EQ(b.GetEtype(), a.GetEtype()) << i;
                EXPECT_EQ(b.GetColor(), a.GetColor()) << i;
                EXPECT_EQ(b.GetLayer(), a.GetLayer()) << i;
                for (int s = 1; s <= 6; ++s)
                    EXPECT_EQ(b.GetCoord(s), a.GetCoord(s)) << i << " slot " << s;
            }
        }
    }
}

} // namespace
} // namespace orvex
