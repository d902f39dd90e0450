// Whole-picture comparison for pixel tests. On a difference the actual and
// expected pictures and a diff (differing pixels white on black) are written
// as PNG files into the test output folder of the build tree, named after the
// comparison, so a failure can be looked at.
#pragma once

#include <QDir>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

namespace orvex::testing_pictures {

// Writes the actual, expected and diff pictures; returns the differing pixels.
inline long save_pictures(const QImage& a, const QImage& e, const QString& stem)
{
    a.save(stem + QStringLiteral("-actual.png"));
    e.save(stem + QStringLiteral("-expected.png"));
    long differing = 0;
    if (a.size() == e.size()) {
        QImage diff(a.size(), QImage::Format_RGB32);
        diff.fill(Qt::black);
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (a.pixel(x, y) != e.pixel(x, y)) {
                    diff.setPixel(x, y, 0xFFFFFFFFu);
                    ++differing;
                }
        diff.save(stem + QStringLiteral("-diff.png"));
    }
    return differing;
}

inline QString output_stem(const QString& name) { return QDir(QStringLiteral(ORVEX_TEST_OUTPUT_DIR)).filePath(name); }

inline ::testing::AssertionResult same_picture(const QImage& actual, const QImage& expected, const QString& name)
{
    if (actual == expected) // format, size and every pixel
        return ::testing::AssertionSuccess();
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    const QString stem = output_stem(name);
    const long differing = save_pictures(a, e, stem);
    return ::testing::AssertionFailure() << name.toStdString() << ": " << differing << " pixels differ (formats "
                                         << actual.format() << " and " << expected.format() << ", sizes " << a.width()
                                         << "x" << a.height() << " and " << e.width() << "x" << e.height()
                                         << "); pictures in " << stem.toStdString() << "-*.png";
}

/// Pictures of one size that may differ where a curve passes between pixel
/// centres: at most `share` of the pixels lit in either differ, and each
/// differing pixel of either has its colour within one pixel in the other.
inline ::testing::AssertionResult similar_picture(const QImage& actual, const QImage& expected, const QString& name,
                                                  double share)
{
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    if (a.size() != e.size())
        return ::testing::AssertionFailure() << name.toStdString() << ": sizes differ";
    const QRgb background = e.pixel(0, 0);
    auto near = [](const QImage& in, int x, int y, QRgb colour) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (in.valid(x + dx, y + dy) && in.pixel(x + dx, y + dy) == colour)
                    return true;
        return false;
    };
    long lit = 0, differing = 0, far = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb pa = a.pixel(x, y), pe = e.pixel(x, y);
            lit += pa != background || pe != background;
            if (pa == pe)
                continue;
            ++differing;
            far += !near(e, x, y, pa) + !near(a, x, y, pe);
        }
    if (far == 0 && differing <= share * lit)
        return ::testing::AssertionSuccess();
    save_pictures(a, e, output_stem(name));
    return ::testing::AssertionFailure() << name.toStdString() << ": " << differing << " of " << lit
                                         << " lit pixels differ, " << far
                                         << " with no match within a pixel; pictures in "
                                         << output_stem(name).toStdString() << "-*.png";
}

} // namespace orvex::testing_pictures
