// Writes the example drawings of samples/ through the control's public API:
// a mechanical part, a floor plan and a 3-D wireframe whose holes lie in
// several arc views, each as OVX, DXF and IGES.
//
//   make_samples OUTPUT_DIR
#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QDir>

#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

using orvex::TOrvexGDI;

namespace {

// Colours of the files' 16-colour tables (red in the low byte).
constexpr orvex::TColor kGreen = 0x00FF00, kYellow = 0x00FFFF, kRed = 0x0000FF, kCyan = 0xFFFF00, kWhite = 0xFFFFFF,
                        kMagenta = 0xFF00FF, kBlue = 0xFF0000;
// Line types: solid, dotted (hidden edges), dash-dot (centre lines), wide solid.
constexpr int kSolid = 0, kHidden = 2, kCentre = 3, kWide = 21;

void pen(TOrvexGDI& d, orvex::TColor colour, int lineType, int layer)
{
    d.SetCurrentColor(colour);
    d.SetLineType(lineType);
    d.SetCurrentLayer(layer);
}

void line(TOrvexGDI& d, double x1, double y1, double x2, double y2) { d.MakeLine(x1, y1, 0, x2, y2, 0); }

void line3(TOrvexGDI& d, double x1, double y1, double z1, double x2, double y2, double z2)
{
    d.MakeLine(x1, y1, z1, x2, y2, z2);
}

// A full circle in the top plane. An arc of 360 degrees rather than a circle
// element, so that all three formats carry it (the IGES writer takes points,
// lines and arcs).
void circle(TOrvexGDI& d, double x, double y, double r) { d.MakeArc(1, x, y, 0, r, 0, 360); }

// A centre cross of half length h through (x, y).
void centre_cross(TOrvexGDI& d, double x, double y, double h)
{
    line(d, x - h, y, x + h, y);
    line(d, x, y - h, x, y + h);
}

// A bracket plate 120 x 80 with rounded corners, a counterbored bore, four
// bolt holes, a slot and centre lines.
void mechanical_part(TOrvexGDI& d)
{
    const double w = 120, h = 80, r = 10;
    pen(d, kGreen, kWide, 1); // outline
    line(d, r, 0, w - r, 0);
    line(d, w, r, w, h - r);
    line(d, w - r, h, r, h);
    line(d, 0, h - r, 0, r);
    d.MakeArc(1, w - r, r, 0, r, 270, 360);
    d.MakeArc(1, w - r, h - r, 0, r, 0, 90);
    d.MakeArc(1, r, h - r, 0, r, 90, 180);
    d.MakeArc(1, r, r, 0, r, 180, 270);

    pen(d, kYellow, kSolid, 2); // bore, bolt holes and slot
    circle(d, 45, 40, 16);
    for (const auto& [x, y] : {std::pair{12.0, 12.0}, {12.0, 68.0}, {78.0, 12.0}, {78.0, 68.0}}) {
        circle(d, x, y, 4.5);
        d.MakePoint(x, y, 0);
    }
    line(d, 95, 25, 95, 55); // slot 10 wide, rounded ends
    line(d, 105, 25, 105, 55);
    d.MakeArc(1, 100, 55, 0, 5, 0, 180);
    d.MakeArc(1, 100, 25, 0, 5, 180, 360);

    pen(d, kCyan, kHidden, 2); // counterbore, hidden below the surface
    circle(d, 45, 40, 22);

    pen(d, kRed, kCentre, 3); // centre lines
    centre_cross(d, 45, 40, 27);
    for (const auto& [x, y] : {std::pair{12.0, 12.0}, {12.0, 68.0}, {78.0, 12.0}, {78.0, 68.0}})
        centre_cross(d, x, y, 7);
    line(d, 100, 17, 100, 63);
}

// A small house 40 x 26 ft drawn in inches: outer and inner wall faces, a
// partition, three doors with their swings, four windows and furniture.
void floor_plan(TOrvexGDI& d)
{
    const double W = 480, H = 312, t = 12;
    pen(d, kWhite, kWide, 1); // walls, with an opening for the front door (x 60..96)
    line(d, 0, 0, 60, 0);
    line(d, 96, 0, W, 0);
    line(d, W, 0, W, H);
    line(d, W, H, 0, H);
    line(d, 0, H, 0, 0);
    line(d, t, t, 60, t);
    line(d, 96, t, W - t, t);
    line(d, W - t, t, W - t, H - t);
    line(d, W - t, H - t, t, H - t);
    line(d, t, H - t, t, t);
    line(d, 60, 0, 60, t); // door jambs
    line(d, 96, 0, 96, t);
    // Partition at x = 280 with two door openings (y 40..76 and 200..236).
    const double px = 280, pt = 5;
    for (const auto& [y1, y2] : {std::pair{t, 40.0}, {76.0, 200.0}, {236.0, H - t}}) {
        line(d, px, y1, px, y2);
        line(d, px + pt, y1, px + pt, y2);
        line(d, px, y1, px + pt, y1);
        line(d, px, y2, px + pt, y2);
    }

    pen(d, kYellow, kSolid, 2); // doors: leaf and quarter swing
    line(d, 60, t, 60, t + 36);
    d.MakeArc(1, 60, t, 0, 36, 0, 90);
    line(d, px + pt, 40, px + pt + 36, 40);
    d.MakeArc(1, px + pt, 40, 0, 36, 0, 90);
    line(d, px, 236, px - 36, 236);
    d.MakeArc(1, px, 236, 0, 36, 90, 180);

    pen(d, kCyan, kSolid, 3); // windows: glass line in the middle of the wall
    for (const auto& [x1, x2] : {std::pair{140.0, 200.0}, {340.0, 420.0}})
        line(d, x1, H - t / 2, x2, H - t / 2);
    for (const auto& [y1, y2] : {std::pair{100.0, 160.0}, {180.0, 240.0}})
        line(d, W - t / 2, y1, W - t / 2, y2);

    pen(d, kMagenta, kHidden, 4); // furniture: a table with four chairs' centres, a round table
    line(d, 360, 120, 420, 120);
    line(d, 420, 120, 420, 160);
    line(d, 420, 160, 360, 160);
    line(d, 360, 160, 360, 120);
    for (const auto& [x, y] : {std::pair{375.0, 108.0}, {405.0, 108.0}, {375.0, 172.0}, {405.0, 172.0}})
        d.MakePoint(x, y, 0);
    circle(d, 120, 200, 24);
}

// A block 100 x 60 x 40 with a 45-degree chamfer along its top back edge, a
// boss on top, and holes through the front, the side and the chamfer: each
// hole drawn in the arc view of its face.
void wireframe(TOrvexGDI& d)
{
    const double c = std::numbers::sqrt2 / 2;
    // Arc view 5: the chamfer face. Plane axes X and (0, c, -c), normal (0, c, c).
    d.SetArcView(5, orvex::TDView3D{5, 1, 0, 0, 0, c, c, 0, -c, c});

    pen(d, kGreen, kSolid, 1); // block edges; the chamfer runs from (y 40, z 40) to (y 60, z 20)
    for (double x : {0.0, 100.0}) {
        line3(d, x, 0, 0, x, 60, 0);
        line3(d, x, 60, 0, x, 60, 20);
        line3(d, x, 60, 20, x, 40, 40);
        line3(d, x, 40, 40, x, 0, 40);
        line3(d, x, 0, 40, x, 0, 0);
    }
    for (const auto& [y, z] : {std::pair{0.0, 0.0}, {60.0, 0.0}, {60.0, 20.0}, {40.0, 40.0}, {0.0, 40.0}})
        line3(d, 0, y, z, 100, y, z);

    pen(d, kYellow, kSolid, 2); // boss on top: circles at z 40 and 55 (arc view 1), four silhouette lines
    d.MakeArc(1, 70, 20, 40, 12, 0, 360);
    d.MakeArc(1, 70, 20, 55, 12, 0, 360);
    for (double a = 0; a < 360; a += 90) {
        const double t = a * std::numbers::pi / 180;
        const double x = 70 + 12 * std::cos(t), y = 20 + 12 * std::sin(t);
        line3(d, x, y, 40, x, y, 55);
    }

    pen(d, kCyan, kSolid, 3);
    // Front hole through y 0..40 at (x 25, z 20): arc view 2, plane offset w = -y.
    d.MakeArc(2, 25, 20, 0, 8, 0, 360);
    d.MakeArc(2, 25, 20, -40, 8, 0, 360);
    // Side hole through x 100..80 at (y 25, z 20): arc view 3, plane offset w = x.
    d.MakeArc(3, 25, 20, 100, 6, 0, 360);
    d.MakeArc(3, 25, 20, 80, 6, 0, 360);
    // Chamfer hole at model (50, 50, 30), normal to the chamfer: arc view 5.
    d.MakeArc(5, 50, (50 - 30) * c, (50 + 30) * c, 5, 0, 360);

    pen(d, kBlue, kHidden, 3); // hidden bore walls
    for (double dz : {-8.0, 8.0})
        line3(d, 25, 0, 20 + dz, 25, 40, 20 + dz);
    for (double dz : {-6.0, 6.0})
        line3(d, 100, 25, 20 + dz, 80, 25, 20 + dz);

    pen(d, kRed, kCentre, 4); // axes of the holes and the boss
    line3(d, 25, -10, 20, 25, 50, 20);
    line3(d, 110, 25, 20, 70, 25, 20);
    line3(d, 70, 20, 30, 70, 20, 65);
}

bool write_all(TOrvexGDI& d, const QString& stem)
{
    const struct {
        int cadType;
        const char* extension;
    } formats[] = {{1, ".ovx"}, {2, ".dxf"}, {3, ".igs"}};
    for (const auto& f : formats) {
        d.SetCadType(f.cadType);
        // A bare name: IGES keeps the file name it was saved under in its start section.
        const QString path = stem + QLatin1String(f.extension);
        if (!d.save_cad(path)) {
            std::fprintf(stderr, "make_samples: cannot write %s\n", qPrintable(path));
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples OUTPUT_DIR\n");
        return 1;
    }
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "make_samples: no folder %s\n", argv[1]);
        return 1;
    }
    const struct {
        const char* stem;
        std::function<void(TOrvexGDI&)> draw;
        orvex::TDUnits units;
    } samples[] = {
        {"bracket_plate", mechanical_part, orvex::uMM},
        {"floor_plan", floor_plan, orvex::uINCH},
        {"chamfered_block", wireframe, orvex::uMM},
    };
    for (const auto& s : samples) {
        TOrvexGDI drawing;
        drawing.SetUnits(s.units);
        s.draw(drawing);
        if (!write_all(drawing, QString::fromLatin1(s.stem)))
            return 1;
    }
    return 0;
}
