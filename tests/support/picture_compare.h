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

inline ::testing::AssertionResult same_picture(const QImage& actual, const QImage& expected, const QString& name)
{
    if (actual == expected) // format, size and every pixel
        return ::testing::AssertionSuccess();
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32);
    const QString stem = QDir(QStringLiteral(ORVEX_TEST_OUTPUT_DIR)).filePath(name);
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
    return ::testing::AssertionFailure() << name.toStdString() << ": " << differing << " pixels differ (formats "
                                         << actual.format() << " and " << expected.format() << ", sizes "
                                         << a.width() << "x" << a.height() << " and " << e.width() << "x"
                                         << e.height() << "); pictures in " << stem.toStdString() << "-*.png";
}

} // namespace orvex::testing_pictures
