// Drawings from other CAD programs (the shared folder of public files, when
// it is there): every file loads, and the cases other programs write that
// the readers once got wrong read right.
#include "format_test_support.h"

#include "formats/dxf/dxf.h"
#include "formats/iges/iges.h"

#include <OrvexGDI/Elements.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace orvex {
namespace {

using namespace testing_formats;
namespace fs = std::filesystem;

fs::path shared_dir()
{
    if (const char* dir = std::getenv("ORVEX_REALWORLD_DIR"))
        return dir;
    return ORVEX_REALWORLD_DIR;
}

#define REQUIRE_SHARED_FILES()                                                                                         \
    if (!fs::is_directory(shared_dir()))                                                                               \
    GTEST_SKIP() << "no folder of shared drawings at " << shared_dir()

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> files_in(const char* sub)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(shared_dir() / sub))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// A DXF or IGES file by its extension, in any case.
bool is_drawing(const fs::path& path)
{
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".dxf" || ext == ".igs" || ext == ".iges";
}

template <typename Read>
std::unique_ptr<formats::StagedDrawing> read_shared(Read read, const fs::path& path, TColor background = 0)
{
    return read_text(read, contents(path), background);
}

TEST(SharedDrawings, EveryFileLoads)
{
    REQUIRE_SHARED_FILES();
    // A folder that is there but holds no drawing would let every test here
    // pass on nothing.
    int drawings = 0;
    for (const char* sub : {"dxf", "iges"}) {
        if (!fs::is_directory(shared_dir() / sub))
            continue;
        for (const fs::path& path : files_in(sub)) {
            SCOPED_TRACE(path.filename().string());
            drawings += is_drawing(path);
            if (std::string(sub) == "dxf")
                EXPECT_NO_THROW(read_shared(formats::dxf::read, path));
            else
                EXPECT_NO_THROW(read_shared(formats::iges::read, path));
        }
    }
    EXPECT_GT(drawings, 0) << "no DXF or IGES file in " << shared_dir() / "dxf"
                           << " or " << shared_dir() / "iges";
}

TEST(SharedDrawings, DxfEntitiesComeOnlyFromNamesAfterCodeZero)
{
    REQUIRE_SHARED_FILES();
    // In every ASCII file without polylines, one element per LINE, ARC,
    // CIRCLE and POINT named after code 0: a layer called LINE (the hatch
    // pattern file) or a block called CIRCLE (colors) makes nothing.
    int checked = 0;
    for (const fs::path& path : files_in("dxf")) {
        const std::string text = contents(path);
        if (text.rfind("AutoCAD Binary", 0) == 0 || text.find("POLYLINE") != std::string::npos)
            continue;
        std::istringstream lines(text);
        std::string code, value;
        int named = 0;
        while (std::getline(lines, code) && std::getline(lines, value)) {
            if (!value.empty() && value.back() == '\r')
                value.pop_back();
            if (code.find_first_not_of(" \r") != std::string::npos &&
                code.find_first_not_of(" 0\r") == std::string::npos && code.find('0') == code.rfind('0'))
                named += value == "LINE" || value == "ARC" || value == "CIRCLE" || value == "POINT";
        }
        EXPECT_EQ(read_shared(formats::dxf::read, path)->Elements.Count(), named) << path.filename();
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

TEST(SharedDrawings, IgesCurvesOfOtherSystems)
{
    REQUIRE_SHARED_FILES();
    // {file, elements}: the lines and arcs that are model geometry. BIGES
    // also holds 52 parameter-space lines of its curves on surfaces, f45 one;
    // PRO19800's two lines are blanked, bad_header's eight are 2-D
    // parametric curves.
    const std::pair<const char*, int> cases[] = {
        {"igesreader_tubes_splined.iges", 8},
        {"occt_BIGES.igs", 52},
        {"occt_PRO19800.igs", 0},
        {"occt_bad_header.igs", 0},
        {"occt_bug23171_tube_surf.igs", 4},
        {"occt_bug8363_f45.igs", 0},
    };
    for (const auto& [name, count] : cases) {
        SCOPED_TRACE(name);
        auto d = read_shared(formats::iges::read, shared_dir() / "iges" / name, 0x000000);
        EXPECT_EQ(d->Elements.Count(), count);
        // Colour 0 on a black background shows in silver.
        for (const TElement* e : d->Elements)
            EXPECT_NE(e->GetColor(), 0x000000);
    }
}

TEST(SharedDrawings, IgesLayoutsOfOtherSystems)
{
    REQUIRE_SHARED_FILES();
    // Form 6007 of CATIA V4's entity 406 loads; a trailing empty line and
    // records without line ends read like the file itself.
    for (const char* name : {"occt_CTS17806-38038.igs", "occt_PRO20359-L1.igs", "occt_PRO20360-T1.igs"})
        EXPECT_NO_THROW(read_shared(formats::iges::read, shared_dir() / "iges" / name)) << name;
    const std::string text = contents(shared_dir() / "iges/occt_BIGES.igs");
    std::string noEnds;
    for (char c : text)
        if (c != '\r' && c != '\n')
            noEnds += c;
    auto plain = read_text(formats::iges::read, text);
    for (const std::string& variant : {text + "\n", noEnds}) {
        auto d = read_text(formats::iges::read, variant);
        ASSERT_EQ(d->Elements.Count(), plain->Elements.Count());
        for (int i = 0; i < d->Elements.Count(); ++i)
            for (int s = 1; s <= 6; ++s)
                EXPECT_EQ(d->Elements[i].GetCoord(s), plain->Elements[i].GetCoord(s));
    }
}

TEST(SharedDrawings, EveryIgesDirectoryEntryIsInTheFullImportsReport)
{
    REQUIRE_SHARED_FILES();
    // Blank status fields included (OCC17026-1's entries have them).
    for (const fs::path& path : files_in("iges")) {
        SCOPED_TRACE(path.filename().string());
        std::istringstream lines(contents(path));
        long long directoryLines = 0;
        for (std::string line; std::getline(lines, line);)
            directoryLines += line.size() >= 73 && line[72] == 'D';
        auto d = fresh();
        std::ifstream in(path, std::ios::binary);
        formats::iges::read_full(in, *d);
        long long counted = 0;
        for (const TLoadCount& k : d->Report.Kinds)
            counted += k.Read + k.Skipped;
        EXPECT_EQ(counted, directoryLines / 2);
    }
}

} // namespace
} // namespace orvex
