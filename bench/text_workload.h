// The drawing-file benchmark's file with lettering: the 300,000-entity DXF
// file with 50,000 TEXT entities added to its entities (room labels,
// dimensions' figures, turned notes), as a floor plan carries them.
#pragma once

#include <QFile>
#include <QString>
#include <QTextStream>

#include <random>

constexpr int kTextEntities = 50000;

/// Writes `plain` again as `out` with the TEXT entities before the end of
/// its entities section. Returns the characters the texts hold.
inline long long write_with_texts(const QString& plain, const QString& out)
{
    QFile in(plain);
    in.open(QIODevice::ReadOnly);
    QByteArray body = in.readAll();
    const qsizetype end = body.lastIndexOf("ENDSEC");
    const qsizetype cut = body.lastIndexOf("\n0", end - 1); // the code line before ENDSEC
    QFile file(out);
    file.open(QIODevice::WriteOnly);
    file.write(body.left(cut + 1));
    QTextStream s(&file);
    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> coordinate(-1000, 1000), height(0.5, 5);
    std::uniform_int_distribution<int> kind(0, 3), number(1, 9999), quarter(0, 3);
    static const char* const labels[] = {"ROOM %1", "%1 mm", "DOOR D-%1 %%c40", "NOTE %1: SEE DETAIL"};
    long long characters = 0;
    for (int i = 0; i < kTextEntities; ++i) {
        const QString text = QString::fromLatin1(labels[kind(random)]).arg(number(random));
        characters += text.size();
        s << "0\nTEXT\n8\nTEXT\n10\n"
          << coordinate(random) << "\n20\n"
          << coordinate(random) << "\n30\n0\n40\n"
          << height(random) << "\n1\n"
          << text << "\n50\n"
          << quarter(random) * 90 << "\n";
    }
    s.flush();
    file.write(body.mid(cut + 1));
    return characters;
}
