// The OVX drawing format: records written byte for byte, the reader's
// keyword order and field rules, and round trips.
#include "format_test_support.h"

#include "formats/common/line_reader.h"
#include "formats/ovx/ovx.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <typeinfo>

namespace orvex {
namespace {

using namespace testing_formats;
namespace ovx = formats::ovx;

std::unique_ptr<formats::StagedDrawing> read_ovx(const std::string& text, TColor background = 0xFFFFFF)
{
    return read_text(ovx::read, text, background);
}

TEST(OvxWriter, NewControlWithOnePointWritesTheFiveRecords)
{
    formats::StagedDrawing drawing(new_control_views(), 0, uINCH);
    drawing.make_element(etPoint, 0, 0, 0, 0, 0, 0, 0x0000FF, 0, 1, 0, 0);
    EXPECT_EQ(write_text(ovx::write, drawing), data_file("five_records.ovx"));
}

TEST(OvxWriter, EmptyDrawingAfterAReadWritesOnlyTheTopView)
{
    EXPECT_EQ(write_text(ovx::write, *fresh()), data_file("empty.ovx"));
}

TEST(OvxWriter, RecordsOfEveryWrittenType)
{
    auto d = fresh();
    d->ArcViews[1].Defined = false;
    d->make_element(etLine, 0, 0, 0, 10, 5.5, 0, 0x008000, 0, 1, 0, 0);
    d->make_element(etArc, 1, 2, 0, 5, 0, 90, 0x0000FF, 0, 1, 0, 1);
    d->make_element(etCircle, 1, 2, 0, 5, 0, 0, 0x0000FF, 0, 1, 0, 1);
    d->make_element(etArrow, 1, 2, 3, 4, 5, 6, 0x123456, 0, 7, 0, 2);
    d->make_element(etLeader, 1, 2, 3, 4, 5, 6, 0x000000, 0, 7, 0, 2);
    d->make_element(etWitness, 1, 2, 3, 4, 5, 6, 0xFFFFFF, 0, 7, 0, 2);
    d->make_element(etEllipse, 1, 2, 0, 4, 5, 6, 0, 0, 7, 0, 1);          // not written
    d->make_element(etPoint, -0.25, 1.23456, 12, 0, 0, 0, 0, 3, 9, 0, 0); // deleted below
    d->Elements[7].SetDeleted(true);
    d->make_element(etFillEdge, 0, 0, 0, 1, 1, 0, 0, 0, 1, 0, 1); // not written
    EXPECT_EQ(write_text(ovx::write, *d), crlf({
                                              "LINE   .0,.0,.0,10.0,5.5,.0,1,1,0,1",
                                              "ARC    1.0,2.0,.0,5.0,.0,90.0,1,12,1,0,1",
                                              "CIRCLE 1.0,2.0,.0,5.0,1,12,1,0,,1",
                                              "ARROW  1.0,2.0,3.0,4.0,2,10,7",
                                              "LEADER  3.0,4.0,1.0,2.0,.1,0,2,0,7",
                                              "WITNESS  1.0,2.0,4.0,5.0,2,15,7",
                                          }));
}

TEST(OvxWriter, ViewCoefficientsInGeneralFormat)
{
    EXPECT_EQ(ovx::general_text(0), "0");
    EXPECT_EQ(ovx::general_text(1), "1");
    EXPECT_EQ(ovx::general_text(-1), "-1");
    EXPECT_EQ(ovx::general_text(0.7071067811865476), "0.707106781186548");
    EXPECT_EQ(ovx::general_text(-0.5), "-0.5");
    EXPECT_EQ(ovx::general_text(1e-6), "1E-6");
    EXPECT_EQ(ovx::general_text(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(ovx::general_text(0.00001), "0.00001");
    EXPECT_EQ(ovx::general_text(123456789012345.0), "123456789012345");
    EXPECT_EQ(ovx::general_text(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(ovx::general_text(1e20), "1E20");
    EXPECT_EQ(ovx::general_text(12.5), "12.5");
}

TEST(OvxReader, ColourIndicesFollowTheTableAndTheBackground)
{
    const std::string text =
        crlf({"POINT  0,0,0,0,1", "POINT  0,0,0,15,1", "POINT  0,0,0,16,1", "POINT  0,0,0,-1,1", "POINT  0,0,0,12,1"});
    auto onBlack = read_ovx(text, 0x000000);
    auto onWhite = read_ovx(text, 0xFFFFFF);
    ASSERT_EQ(onBlack->Elements.Count(), 5);
    EXPECT_EQ(onBlack->Elements[0].GetColor(), 0xC0C0C0);
    EXPECT_EQ(onWhite->Elements[0].GetColor(), 0x000000);
    EXPECT_EQ(onBlack->Elements[1].GetColor(), 0xFFFFFF);
    EXPECT_EQ(onWhite->Elements[1].GetColor(), 0xC0C0C0);
    EXPECT_EQ(onWhite->Elements[2].GetColor(), 0x008000); // above 15: index 1
    EXPECT_EQ(onWhite->Elements[3].GetColor(), 0xC0C0C0); // negative
    EXPECT_EQ(onWhite->Elements[4].GetColor(), 0x0000FF);
}

TEST(OvxReader, ColourOutsideTheTableComesBackAsLime)
{
    auto d = fresh();
    d->make_element(etLine, 0, 0, 0, 1, 1, 0, 0x123456, 0, 1, 0, 0);
    const std::string text = write_text(ovx::write, *d);
    EXPECT_NE(text.find(",10,1,0,1\r\n"), std::string::npos);
    EXPECT_EQ(read_ovx(text)->Elements[0].GetColor(), 0x00FF00);
}

TEST(OvxReader, KeywordsAreTestedInOrder)
{
    auto d = read_ovx(crlf({
        "SPLINE 1,2,3,4,5,6,12,1,0",      // skipped although it holds LINE
        "VLINE  1,2,3,4,5,6,7,12,3,2",    // one line: the LINE test is not reached
        "VPOINT 1,2,3,7,12,4",            // one point
        "ARC    1,2,3,5,10,20,1,12,5,0",  // an arc
        "LINE ARC 0,0,0,5,0,90,2,12,6,1", // holds both: a line and an arc
        "no keyword here 1,2,3",          // ignored
        "ARROW  1,2,3,4,1,12,1",          // ignored when reading
    }));
    ASSERT_EQ(d->Elements.Count(), 5);
    const TElement& vline = d->Elements[0];
    EXPECT_EQ(vline.GetEtype(), etLine);
    EXPECT_EQ(vline.GetLayer(), 3);
    EXPECT_EQ(vline.GetLineType(), 2);
    EXPECT_EQ(vline.GetColor(), 0x0000FF);
    const TElement& vpoint = d->Elements[1];
    EXPECT_EQ(vpoint.GetEtype(), etPoint);
    EXPECT_EQ(vpoint.GetLayer(), 4);
    EXPECT_EQ(vpoint.GetCoord(3), 3);
    EXPECT_EQ(d->Elements[2].GetEtype(), etArc);
    EXPECT_EQ(d->Elements[2].GetCoord(6), 20);
    EXPECT_EQ(d->Elements[3].GetEtype(), etLine);
    EXPECT_EQ(d->Elements[4].GetEtype(), etArc);
    EXPECT_EQ(d->Elements[4].GetView(), 2);
}

TEST(OvxReader, FieldRules)
{
    auto d = read_ovx(crlf({
        "LINE   1 000,2,3,4,5,6,12,1,0", // spaces vanish before splitting
        "POINT  1.5D3,2.0D-2,0,12,2.5",  // D exponents; layer 2.5 rounds to 2
        "POINT  0,0,0,12.5,3.5",         // colour 12.5 -> 12, layer 3.5 -> 4
        "  POINT 1,2,3,12,1",            // indented: field 1 is "POINT1"
        "POINT  1,2,3,12,1,7",           // the line type field is ignored
        "LINE   1",                      // missing fields read as 0
    }));
    ASSERT_EQ(d->Elements.Count(), 6);
    EXPECT_EQ(d->Elements[0].GetCoord(1), 1000);
    EXPECT_EQ(d->Elements[1].GetCoord(1), 1500);
    EXPECT_DOUBLE_EQ(d->Elements[1].GetCoord(2), 0.02);
    EXPECT_EQ(d->Elements[1].GetLayer(), 2);
    EXPECT_EQ(d->Elements[2].GetColor(), 0x0000FF);
    EXPECT_EQ(d->Elements[2].GetLayer(), 4);
    EXPECT_EQ(d->Elements[3].GetCoord(1), 0);
    EXPECT_EQ(d->Elements[3].GetCoord(2), 2);
    EXPECT_EQ(d->Elements[4].GetLineType(), 0);
    EXPECT_EQ(d->Elements[5].GetCoord(1), 1);
    EXPECT_EQ(d->Elements[5].GetLayer(), 252); // layer 0 reaches the factory
}

TEST(OvxReader, RecordWithTwentyTwoCommasHasNoFields)
{
    // 21 commas in the record plus the appended one: still read.
    std::string fields = "1,2,3,4,5,6,12,7,0";
    for (int i = 0; i < 13; ++i)
        fields += ",9";
    auto kept = read_ovx(crlf({"LINE   " + fields}));
    EXPECT_EQ(kept->Elements[0].GetCoord(1), 1);
    // One more comma makes 23 with the appended one: every field reads 0.
    auto lost = read_ovx(crlf({"LINE   " + fields + ",9"}));
    const TElement& line = lost->Elements[0];
    EXPECT_EQ(line.GetCoord(1), 0);
    EXPECT_EQ(line.GetCoord(4), 0);
    EXPECT_EQ(line.GetColor(), 0x000000);
    EXPECT_EQ(line.GetLayer(), 252);
}

TEST(OvxReader, ArcsAndCircles)
{
    auto d = read_ovx(crlf({
        "ARC    1,2,0,0,10,20,1,12,1,0",       // radius 0: nothing
        "ARC    1,2,0,-1,10,20,1,12,1,0",      // negative radius: nothing
        "ARC    1,2,0,5,10,0.00005,95,12,1,0", // end angle 0, view 1
        "CIRCLE 1,2,3,5,2,12,1,0",             // front view: centre (x, -z, y)
        "CIRCLE 1,2,3,5,6,12,1,0",             // view code 6: side view, centre (-z, -x, y)
        "CIRCLE 1,2,3,0,1,12,1,0",             // radius 0: nothing
    }));
    ASSERT_EQ(d->Elements.Count(), 3);
    EXPECT_EQ(d->Elements[0].GetCoord(6), 0);
    EXPECT_EQ(d->Elements[0].GetView(), 1);
    const TElement& front = d->Elements[1];
    EXPECT_EQ(front.GetEtype(), etArc);
    EXPECT_EQ(front.GetView(), 2);
    EXPECT_EQ(front.GetCoord(1), 1);
    EXPECT_EQ(front.GetCoord(2), -3);
    EXPECT_EQ(front.GetCoord(3), 2);
    EXPECT_EQ(front.GetCoord(5), 0);
    EXPECT_EQ(front.GetCoord(6), 360);
    EXPECT_EQ(d->Elements[2].GetView(), 3);
    EXPECT_EQ(d->Elements[2].GetCoord(1), -3);
    EXPECT_EQ(d->Elements[2].GetCoord(2), -1);
}

TEST(OvxReader, ViewRecordsFillTheArcViewTable)
{
    auto d = read_ovx(crlf({"VIEW   7,0,0,1,1,0,0,0,1,0", "VIEW   95,1,0,0,0,1,0,0,0,1"}));
    EXPECT_TRUE(d->ArcViews[7].Defined);
    EXPECT_EQ(d->ArcViews[7].M13, 1);
    EXPECT_EQ(d->ArcViews[7].M21, 1);
    EXPECT_TRUE(d->ArcViews[90].Defined);
    EXPECT_FALSE(d->ArcViews[8].Defined);
}

TEST(OvxReader, ErrorsNameTheLine)
{
    auto message_of = [](const std::string& text, auto error) {
        try {
            read_ovx(text);
        } catch (const decltype(error)& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message_of(crlf({"POINT  1,2,3", "", "VIEW   0,1,0,0,0,1,0,0,0,1"}), ERangeError("")).rfind("line 3:", 0),
              0u);
    EXPECT_EQ(message_of(crlf({"POINT  1,2,3,12,256"}), ERangeError("")).rfind("line 1:", 0), 0u);
    EXPECT_EQ(message_of(crlf({"POINT  1,2,3,3e9,1"}), ERangeError("")).rfind("line 1:", 0), 0u);
    EXPECT_EQ(message_of(crlf({"LINE   1", "POINT  1.0Dx,2,3"}), EConvertError("")).rfind("line 2:", 0), 0u);
    EXPECT_EQ(message_of(std::string(formats::LineReader::kMaxLine + 10, 'A'), ERangeError("")).rfind("line 1:", 0),
              0u);
}

TEST(OvxFormat, RoundTripKeepsTheDrawing)
{
    formats::StagedDrawing d(new_control_views(), 0, uINCH);
    d.make_element(etPoint, 1.25, -2, 3, 0, 0, 0, 0x00FFFF, 0, 4, 0, 0);
    d.make_element(etLine, 0, 0, 0, 10, 5.5, -1e6, 0x808000, 2, 1, 0, 0);
    d.make_element(etArc, 1, 2, 0, 5, 30, 120, 0xFF00FF, 1, 254, 0, 3);
    d.make_element(etCircle, 1, 2, 3, 4, 0, 0, 0xFFFF00, 0, 9, 0, 2);
    const std::string first = write_text(ovx::write, d);
    auto back = read_ovx(first, 0x000000);
    ASSERT_EQ(back->Elements.Count(), 4);
    const TElement& circle = back->Elements[3];
    EXPECT_EQ(circle.GetEtype(), etArc);
    EXPECT_EQ(circle.GetCoord(2), -3); // written in view 2: comes back as (x, -z, y)
    EXPECT_EQ(circle.GetCoord(3), 2);
    EXPECT_EQ(circle.GetCoord(6), 360);
    // The arc-view entries the file defined come back; a second write equals
    // the first apart from the circle, now an arc.
    EXPECT_TRUE(back->ArcViews[4].Defined);
    const std::string second = write_text(ovx::write, *back);
    const std::size_t circleAt = first.find("CIRCLE");
    EXPECT_EQ(second.substr(0, circleAt), first.substr(0, circleAt));
    EXPECT_NE(second.find("ARC    1.0,-3.0,2.0,4.0,.0,360.0,2,11,9,0,1"), std::string::npos);
}

// What a read made of a text, every value bit for bit, or the error it
// stopped with.
std::string outcome_of_reading(const std::string& text)
{
    std::unique_ptr<formats::StagedDrawing> d;
    try {
        d = read_ovx(text, 0x000000);
    } catch (const std::exception& e) {
        return std::string("error ") + typeid(e).name() + ": " + e.what();
    }
    std::ostringstream out;
    out << std::hexfloat;
    for (const TElement* e : d->Elements) {
        out << int(e->GetEtype());
        for (int n = 1; n <= 6; ++n)
            out << ' ' << e->GetCoord(n);
        out << ' ' << e->GetColor() << ' ' << e->GetLayer() << ' ' << e->GetLineType() << ' ' << e->GetView() << '\n';
    }
    for (int n = 1; n <= 90; ++n) {
        const TArcView& v = d->ArcViews[n];
        if (v.Defined)
            out << "view " << n << ' ' << v.M11 << ' ' << v.M12 << ' ' << v.M13 << ' ' << v.M21 << ' ' << v.M22 << ' '
                << v.M23 << ' ' << v.M31 << ' ' << v.M32 << ' ' << v.M33 << '\n';
    }
    return out.str();
}

TEST(OvxReader, RecordsOfTheWritersShapeReadAsAnyOtherRecord)
{
    // A record of a keyword, spaces and plain decimals is read in one pass;
    // the same record with a trailing space goes the general way. Both must
    // make the same elements, or stop with the same error, for records of
    // every keyword, field count and number shape.
    std::mt19937 random(3);
    const char* const keywords[] = {"LINE", "ARC",    "CIRCLE", "POINT",   "VLINE", "VPOINT",
                                    "VIEW", "SPLINE", "ARROW",  "LINEARC", "XYZ"};
    std::uniform_int_distribution<int> keyword(0, 10), spaces(1, 3), fields(0, 24), shape(0, 9), digits(0, 17),
        small(0, 300);
    auto number = [&] {
        std::string text;
        switch (shape(random)) {
        case 0:
            return text; // an empty field
        case 1:
            return std::string(random() % 2 ? "-" : "+");
        case 2:
        case 3:
            return std::to_string(small(random)); // colours, layers, types, views, radii
        default:
            break;
        }
        if (random() % 3 == 0)
            text += '-';
        const int whole = digits(random), fraction = digits(random) % 6;
        for (int i = 0; i < whole; ++i)
            text += static_cast<char>('0' + random() % 10);
        if (fraction > 0 || random() % 4 == 0)
            text += '.';
        for (int i = 0; i < fraction; ++i)
            text += static_cast<char>('0' + random() % 10);
        if (random() % 40 == 0)
            text += "E2";
        return text;
    };
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string record = keywords[keyword(random)];
        record.append(static_cast<std::size_t>(spaces(random)), ' ');
        for (int n = fields(random); n >= 0; --n)
            record += number() + (n > 0 ? "," : "");
        const std::string onePass = outcome_of_reading(record + "\r\n");
        ASSERT_EQ(onePass, outcome_of_reading(record + " \r\n")) << record;
        compared += onePass.rfind("error", 0) != 0 && !onePass.empty();
    }
    EXPECT_GT(compared, 5000); // most records made something
}

} // namespace
} // namespace orvex
