// The built program on a real X server (Xvfb, xcb platform): its window is
// found by its title and photographed from outside, and its own screenshot
// mode writes a picture of the window with the sample drawing. Skipped where
// Xvfb or the X utilities are missing.
#include <QFile>
#include <QImage>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The window's client area below the menu bar and the drawing control in it.
constexpr int kClientWidth = 650;
constexpr int kClientHeight = 378;
const QRect kDrawingArea(2, 3, 337, 369);
const QRgb kSilver = qRgb(192, 192, 192);

bool have(const char* tool)
{
    return std::system(("command -v " + std::string(tool) + " >/dev/null 2>&1").c_str()) == 0;
}

std::string quoted(const QString& text) { return "'" + text.toStdString() + "'"; }

// Runs Script under a fresh Xvfb with $0 = the program and $1 = Shot.
int run_under_xvfb(const std::string& script, const QString& shot)
{
    const std::string command = "xvfb-run -a -s '-screen 0 1280x1024x24' sh -c '" + script + "' " +
                                quoted(QStringLiteral(ORVEX_DEMO_PROGRAM)) + " " + quoted(shot) + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

class DemoOnXServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"xvfb-run", "xwininfo", "import"})
            if (!have(tool))
                GTEST_SKIP() << tool << " is not installed";
        ASSERT_TRUE(dir_.isValid());
    }

    // The picture of the window; the menu bar is the part above the client area.
    void expect_silver_form_with_drawing_area(const QImage& window, int* menuHeight)
    {
        ASSERT_FALSE(window.isNull());
        EXPECT_EQ(window.width(), kClientWidth);
        *menuHeight = window.height() - kClientHeight;
        ASSERT_GT(*menuHeight, 10) << "a menu bar above the client area";
        ASSERT_LT(*menuHeight, 60);
        // Between the drawing control and the page control, and below the read-outs.
        for (const QPoint at : {QPoint(345, 200), QPoint(500, 372), QPoint(1, 100)})
            EXPECT_EQ(window.pixel(at.x(), at.y() + *menuHeight) | 0xFF000000u, kSilver) << at.x() << "," << at.y();
        // The drawing area shows the control's black background.
        EXPECT_EQ(window.pixel(kDrawingArea.left() + 5, kDrawingArea.top() + 5 + *menuHeight) | 0xFF000000u,
                  qRgb(0, 0, 0));
    }

    QTemporaryDir dir_;
};

TEST_F(DemoOnXServer, WindowOrvexDemoShowsTheSilverFormAndTheDrawingArea)
{
    const QString shot = dir_.filePath(QStringLiteral("window.png"));
    // Wait for the window by its title, let the control's start-up repaint
    // run, photograph the window from outside, end the program.
    const std::string script =
        "QT_QPA_PLATFORM=xcb \"$0\" & pid=$!; "
        "for i in $(seq 150); do xwininfo -name \"Orvex Demo\" >/dev/null 2>&1 && break; sleep 0.1; done; "
        "sleep 2; import -window \"$(xwininfo -name \"Orvex Demo\" | sed -n \"s/.*Window id: "
        "\\(0x[0-9a-f]*\\).*/\\1/p\")\" "
        "\"$1\"; status=$?; kill $pid; exit $status";
    ASSERT_EQ(run_under_xvfb(script, shot), 0);
    const QImage window(shot);
    int menuHeight = 0;
    expect_silver_form_with_drawing_area(window, &menuHeight);
}

TEST_F(DemoOnXServer, ScreenshotArgumentSavesTheWindowWithTheSampleDrawingAndQuits)
{
    const QString shot = dir_.filePath(QStringLiteral("screenshot.png"));
    ASSERT_EQ(run_under_xvfb("QT_QPA_PLATFORM=xcb timeout 60 \"$0\" \"$1\"", shot), 0);
    const QImage window(shot);
    int menuHeight = 0;
    expect_silver_form_with_drawing_area(window, &menuHeight);
    int drawn = 0;
    const QRect area = kDrawingArea.translated(0, menuHeight);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            drawn += (window.pixel(x, y) & 0xFFFFFFu) != 0 ? 1 : 0;
    EXPECT_GT(drawn, 300) << "the sample drawing's lines";
}

} // namespace
