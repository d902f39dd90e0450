#include "sequence.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

namespace orvex::model {

namespace {

constexpr Colour kColours[] = {0x000000, 0x008000, 0x000080, 0x008080, 0x00FFFF, 0x808000, 0x800080, 0x808080, 0x800000,
                               0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0xC0C0C0, 0xFFFFFF, 0x123456};
constexpr int kLayers[] = {1, 2, 3, 4, 5, 254, 0, 300};
constexpr int kLineTypes[] = {0, 1, 2, 3, 10, 20};
constexpr double kAngles[] = {30, 45, 90, 120, 200, 359, -30, 17.5, 0};
constexpr int kFillCodes[] = {1, 2, 3, 4, 6, 44, 100};
constexpr int kArcViews[] = {1, 2, 3, 4, 7};

// Files of the project's samples that loads and merges read, with their CadType.
struct Sample {
    const char* name;
    int cadType;
};
constexpr Sample kSamples[] = {{"house.ovx", 1},      {"chamfered_block.ovx", 1}, {"bracket_plate.dxf", 2},
                               {"floor_plan.dxf", 2}, {"bracket_plate.igs", 3},   {"chamfered_block.igs", 3}};
const char* const kFormatNames[] = {"", "ovx", "dxf", "igs"};

// Drawings stay within a size the checks can afford.
constexpr int kMaxElements = 3000;

template <typename T, std::size_t N>
const T& pick_from(ChoiceSource& choices, const T (&values)[N])
{
    return values[choices.below(static_cast<int>(N))];
}

// A coordinate on a coarse grid or with digits past the fourth decimal.
double coordinate(ChoiceSource& choices)
{
    const int k = choices.below(8001) - 4000;
    return choices.below(2) == 0 ? k * 0.25 : k * 0.0123457;
}

double radius(ChoiceSource& choices) { return 0.5 + choices.below(200) * 0.2503; }

bool close(double a, double b)
{
    return std::fabs(a - b) <= 1e-7 * std::max(1.0, std::fabs(b)) || (std::isnan(a) && std::isnan(b));
}

std::string number(double v)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

QString samples_folder() { return QStringLiteral(ORVEX_SAMPLES_DIR); }

// What a fresh control reads from a file, in the model's terms.
Drawing::FileContents read_by_fresh_control(const QString& file, int cadType, TImportMode mode)
{
    TOrvexGDI fresh;
    fresh.SetCadType(cadType);
    fresh.SetImportMode(mode);
    fresh.LoadFromFile(file);
    Drawing::FileContents contents;
    for (const TElement* e : *fresh.Elements) {
        Element m;
        m.type = e->GetEtype();
        m.colour = e->GetColor();
        m.lineType = e->GetLineType();
        m.view = e->GetView();
        m.layer = e->GetLayer();
        m.highlight = e->GetHighlight();
        m.deleted = e->GetDeleted();
        for (int s = 0; s < 6; ++s)
            m.slot[static_cast<std::size_t>(s)] = e->GetCoord(s + 1);
        contents.elements.push_back(m);
    }
    for (int n = 1; n <= 90; ++n) {
        const TArcView& v = fresh.Settings->ArcViews[n];
        contents.arcViews[static_cast<std::size_t>(n)] = {
            {v.M11, v.M12, v.M13, v.M21, v.M22, v.M23, v.M31, v.M32, v.M33}, v.Defined};
    }
    return contents;
}

} // namespace

int ByteChoices::below(int count)
{
    if (count <= 1)
        return 0;
    unsigned value = 0;
    for (int bytes = count > 256 ? 2 : 1; bytes > 0; --bytes)
        value = value * 256 + (at_ < size_ ? data_[at_++] : 0u);
    return static_cast<int>(value % static_cast<unsigned>(count));
}

struct SequenceRun::Impl {
    explicit Impl(const QString& Folder) : folder(Folder)
    {
        control.resize(400, 300);
        control.SetCurrentColor(model.drawColour);
        control.SetLineType(model.lineType);
        control.SetCurrentLayer(model.currentLayer);
        control.SetBackgroundColor(model.background);
        control.OnPick = [this](QObject*, int index, TDPoint, TDPoint, TDPoint, TDPoint) { picked.push_back(index); };
    }

    QString file(int cadType) const { return QDir(folder).filePath(QString("drawing.") + kFormatNames[cadType]); }

    const Drawing::FileContents& sample(int which, TImportMode mode)
    {
        const int key = which * 2 + (mode == imFull);
        auto found = samples.find(key);
        if (found == samples.end()) {
            const Sample& s = kSamples[which];
            found = samples.emplace(key, read_by_fresh_control(samples_folder() + "/" + s.name, s.cadType, mode)).first;
        }
        return found->second;
    }

    std::optional<std::string> run(const Op& op);
    std::optional<std::string> pick(int target);
    std::optional<std::string> compare() const;

    QString folder;
    TOrvexGDI control;
    Drawing model;
    std::map<int, Drawing::FileContents> samples;
    std::vector<int> picked;
};

SequenceRun::SequenceRun(const QString& Folder) : impl_(std::make_unique<Impl>(Folder)) {}
SequenceRun::~SequenceRun() = default;

Op SequenceRun::next(ChoiceSource& choices) const
{
    const Drawing& m = impl_->model;
    const int count = static_cast<int>(m.elements.size());
    Op op;
    op.kind = static_cast<OpKind>(choices.below(static_cast<int>(OpKind::Count)));
    // Growing operations wait while the drawing is large.
    const bool grows = op.kind == OpKind::RotateGroup || op.kind == OpKind::ShiftGroup ||
                       op.kind == OpKind::SaveAndMerge || op.kind == OpKind::MergeSample;
    if (grows && count > kMaxElements)
        op.kind = OpKind::ClearElements;
    // An index inside the list, or now and then one just past it.
    const auto index = [&] {
        return choices.below(8) == 0 ? count + choices.below(2) : choices.below(std::max(count, 1));
    };
    switch (op.kind) {
    case OpKind::SetAttributes:
        op.n[0] = choices.below(static_cast<int>(std::size(kColours)));
        op.n[1] = pick_from(choices, kLayers);
        op.n[2] = pick_from(choices, kLineTypes);
        break;
    case OpKind::MakePoint:
    case OpKind::MakeLine:
    case OpKind::DrawLine:
    case OpKind::MakeEllipse:
    case OpKind::MakeRect:
    case OpKind::MakeClipRect:
        for (double& d : op.d)
            d = coordinate(choices);
        op.n[0] = pick_from(choices, kFillCodes);
        break;
    case OpKind::MakeArc:
    case OpKind::MakeCircle:
        for (int i = 0; i < 3; ++i)
            op.d[i] = coordinate(choices);
        op.d[3] = radius(choices);
        op.d[4] = pick_from(choices, kAngles) + choices.below(4) * 0.00003;
        op.d[5] = pick_from(choices, kAngles) + choices.below(400);
        op.n[0] = op.kind == OpKind::MakeArc ? pick_from(choices, kArcViews) : pick_from(choices, kFillCodes);
        break;
    case OpKind::DrawElement:
    case OpKind::AddToGroup:
    case OpKind::Insert:
        op.n[0] = choices.below(3) == 0 ? 0 : index();
        break;
    case OpKind::RotateGroup:
    case OpKind::RotateElement:
        op.n[0] = index();
        op.n[1] = choices.below(5) - 1; // times
        op.n[2] = choices.below(2);     // keep the source
        op.d[0] = pick_from(choices, kAngles);
        op.d[1] = coordinate(choices);
        op.d[2] = coordinate(choices);
        break;
    case OpKind::ShiftGroup:
    case OpKind::ShiftElement:
    case OpKind::NewOrigin:
    case OpKind::Pan:
        op.n[0] = index();
        op.n[1] = choices.below(5) - 1;
        op.n[2] = choices.below(2);
        for (int i = 0; i < 3; ++i)
            op.d[i] = coordinate(choices);
        break;
    case OpKind::SetIsDeleted:
        op.n[0] = index();
        op.n[1] = choices.below(2);
        break;
    case OpKind::SetElement:
        op.n[0] = index();
        op.n[1] = index();
        break;
    case OpKind::ShowLayer:
        op.n[0] = 1 + choices.below(5);
        op.n[1] = choices.below(3) != 0;
        break;
    case OpKind::SaveAndLoad:
    case OpKind::SaveAndMerge:
        op.n[0] = 1 + choices.below(3);
        op.n[1] = choices.below(2); // read back with the full import
        break;
    case OpKind::LoadSample:
    case OpKind::MergeSample:
        op.n[0] = choices.below(static_cast<int>(std::size(kSamples)));
        op.n[1] = choices.below(2); // the full import
        break;
    case OpKind::SetView:
        op.n[0] = choices.below(4);
        break;
    case OpKind::RotateView:
    case OpKind::ZoomWindow:
        for (int i = 0; i < 4; ++i)
            op.n[i] = choices.below(400);
        break;
    case OpKind::Pick: {
        // Aim at a live point or line on a shown layer, when there is one.
        op.n[0] = -1;
        for (int tries = 0; tries < 8 && count > 0; ++tries) {
            const int i = choices.below(count);
            const Element& e = m.elements[static_cast<std::size_t>(i)];
            if (!e.deleted && (e.type == 1 || e.type == 2) && m.layerVisible[static_cast<std::size_t>(e.layer)]) {
                op.n[0] = i;
                break;
            }
        }
        break;
    }
    default:
        break;
    }
    return op;
}

std::optional<std::string> SequenceRun::apply(const Op& op) { return impl_->run(op); }

std::optional<std::string> SequenceRun::Impl::run(const Op& op)
{
    TOrvexGDI& c = control;
    Drawing& m = model;
    const auto& d = op.d;
    const auto& n = op.n;
    Raises expected = Raises::Nothing;
    bool raisedListIndex = false;
    try {
        switch (op.kind) {
        case OpKind::SetAttributes:
            c.SetCurrentColor(kColours[n[0]]);
            c.SetCurrentLayer(n[1]);
            c.SetLineType(n[2]);
            m.drawColour = kColours[n[0]];
            m.currentLayer = n[1];
            m.lineType = n[2];
            break;
        case OpKind::MakePoint:
            c.MakePoint(d[0], d[1], d[2]);
            m.make_with_current(1, {d[0], d[1], d[2], 0, 0, 0}, 0);
            break;
        case OpKind::MakeLine:
            c.MakeLine(d[0], d[1], d[2], d[3], d[4], d[5]);
            m.make_with_current(2, {d[0], d[1], d[2], d[3], d[4], d[5]}, 0);
            break;
        case OpKind::MakeArc:
            c.MakeArc(n[0], d[0], d[1], d[2], d[3], d[4], d[5]);
            m.make_with_current(3, {d[0], d[1], d[2], d[3], d[4], d[5]}, n[0]);
            break;
        case OpKind::MakeCircle:
            c.MakeCircle(n[0], d[0], d[1], d[2], d[3]);
            m.make_with_current(4, {d[0], d[1], d[2], d[3], 0, 0}, n[0]);
            break;
        case OpKind::MakeEllipse:
            c.MakeEllipse(d[0], d[1], d[2], d[3]);
            m.make_with_current(12, {d[0], d[1], 0, 0, d[2], d[3]}, 0);
            break;
        case OpKind::MakeRect:
            c.MakeFilledRect(d[0], d[1], d[2], d[3], n[0]);
            m.make_with_current(13, {d[0], d[1], 0, 0, d[2], d[3]}, n[0]);
            break;
        case OpKind::MakeClipRect:
            c.MakeClipRect(d[0], d[1], d[2], d[3]);
            m.make_with_current(14, {d[0], d[1], d[2], d[3], 0, 0}, 0);
            break;
        case OpKind::DrawLine:
            c.DrawLine(d[0], d[1], d[2], d[3], d[4], d[5]);
            break;
        case OpKind::DrawElement:
            c.DrawElement(n[0]);
            break;
        case OpKind::AddToGroup:
            c.AddToGroup(n[0]);
            m.add_to_group(n[0]);
            break;
        case OpKind::ClearGroup:
            c.ClearGroup();
            m.clear_group();
            break;
        case OpKind::DeleteGroup:
            c.DeleteGroup();
            m.delete_group();
            break;
        case OpKind::RotateGroup:
            c.RotateGroup(d[0], d[1], d[2], n[1], n[2] != 0);
            m.rotate_group(d[0], d[1], d[2], n[1], n[2] != 0);
            break;
        case OpKind::ShiftGroup:
            c.ShiftGroup(d[0], d[1], d[2], n[1], n[2] != 0);
            m.shift_group(d[0], d[1], d[2], n[1], n[2] != 0);
            break;
        case OpKind::RotateElement:
            expected = m.rotate_element(n[0], d[0], d[1], d[2]);
            c.RotateElement(n[0], d[0], d[1], d[2]);
            break;
        case OpKind::ShiftElement:
            expected = m.shift_element(n[0], d[0], d[1], d[2]);
            c.ShiftElement(n[0], d[0], d[1], d[2]);
            break;
        case OpKind::NewOrigin:
            c.NewOrigin(d[0], d[1], d[2]);
            m.new_origin(d[0], d[1], d[2]);
            break;
        case OpKind::SetIsDeleted:
            c.SetIsDeleted(n[0], n[1] != 0);
            m.set_is_deleted(n[0], n[1] != 0);
            break;
        case OpKind::UndeleteLast:
            c.Elements->UndeleteLast();
            m.undelete_last();
            break;
        case OpKind::SetElement:
            expected = m.set_element(n[0], n[1]);
            c.SetElement(n[0], c.GetElement(n[1]));
            break;
        case OpKind::Insert:
            expected = m.insert(n[0]);
            c.Elements->Insert(n[0]);
            break;
        case OpKind::Add:
            c.Elements->Add();
            m.add();
            break;
        case OpKind::ClearElements:
            c.ClearElements();
            m.clear_elements();
            break;
        case OpKind::SetExtents:
            c.SetExtents();
            m.set_extents();
            break;
        case OpKind::ShowLayer:
            c.SetVisibleLayer(n[0], n[1] != 0);
            m.layerVisible[static_cast<std::size_t>(n[0])] = n[1] != 0;
            break;
        case OpKind::SaveAndLoad:
        case OpKind::SaveAndMerge: {
            const bool merge = op.kind == OpKind::SaveAndMerge;
            c.SetCadType(n[0]);
            c.SetImportMode(n[1] != 0 ? imFull : imBasic);
            c.SaveToFile(file(n[0]));
            merge ? c.MergeFile(file(n[0])) : c.LoadFromFile(file(n[0]));
            m.read(m.saved(static_cast<Format>(n[0])), merge);
            break;
        }
        case OpKind::LoadSample:
        case OpKind::MergeSample: {
            const bool merge = op.kind == OpKind::MergeSample;
            const Sample& s = kSamples[n[0]];
            const TImportMode mode = n[1] != 0 ? imFull : imBasic;
            c.SetCadType(s.cadType);
            c.SetImportMode(mode);
            const QString path = samples_folder() + "/" + s.name;
            merge ? c.MergeFile(path) : c.LoadFromFile(path);
            m.read(sample(n[0], mode), merge);
            break;
        }
        case OpKind::SetView:
            c.SetView(static_cast<TDView>(n[0]));
            m.viewNumber = n[0] + 1;
            break;
        case OpKind::RotateView:
            c.RotateView(n[0] - 200, n[1] - 200, n[2] - 200);
            m.viewNumber = 4;
            break;
        case OpKind::ZoomAll:
            c.ZoomAll();
            break;
        case OpKind::ZoomDouble:
            c.ZoomDouble();
            break;
        case OpKind::ZoomHalf:
            c.ZoomHalf();
            break;
        case OpKind::ZoomLast:
            c.ZoomLast();
            break;
        case OpKind::Pan:
            c.Pan(d[0], d[1]);
            break;
        case OpKind::ZoomWindow:
            c.ZoomWindow(n[0], n[1] * 3 / 4, n[2], n[3] * 3 / 4);
            break;
        case OpKind::Pick:
            if (auto found = pick(op.n[0]))
                return found;
            break;
        case OpKind::Count:
            break;
        }
    } catch (const EListError&) {
        raisedListIndex = true;
    } catch (const std::exception& e) {
        return std::string("raised ") + e.what();
    }
    if (raisedListIndex != (expected == Raises::ListIndex))
        return raisedListIndex ? "raised a list index error the model does not expect"
                               : "no list index error where the model expects one";
    // A fit of a drawing too small to measure widens its extents to a
    // square of 0.04 about the origin.
    if (op.kind == OpKind::ZoomAll && m.extents.maxY - m.extents.minY < 0.04) {
        const TSettings& s = *c.Settings;
        if (s.ExtentMinX == -0.04 && s.ExtentMinY == -0.04 && s.ExtentMaxX == 0.04 && s.ExtentMaxY == 0.04)
            m.extents.minX = m.extents.minY = -0.04, m.extents.maxX = m.extents.maxY = 0.04;
    }
    return compare();
}

std::optional<std::string> SequenceRun::Impl::pick(int target)
{
    // The target may be gone in a shrunk sequence; then there is nothing to aim at.
    const Drawing& m = model;
    if (m.viewNumber != 1 || target < 0 || target >= static_cast<int>(m.elements.size()))
        return std::nullopt;
    const Element& e = m.elements[static_cast<std::size_t>(target)];
    if (e.deleted || (e.type != 1 && e.type != 2) || !m.layerVisible[static_cast<std::size_t>(e.layer)])
        return std::nullopt;
    // A line is hit only from inside the circle on it as a diameter, so the
    // click goes to its midpoint, and only on lines a few pixels long.
    const double x = e.type == 1 ? e.slot[0] : (e.slot[0] + e.slot[3]) / 2;
    const double y = e.type == 1 ? e.slot[1] : (e.slot[1] + e.slot[4]) / 2;
    const double pixels = std::hypot(e.slot[3] - e.slot[0], e.slot[4] - e.slot[1]) * control.Settings->ScaleX[1];
    if (e.type == 2 && !(pixels > 4))
        return std::nullopt;
    control.ViewCenter(x, y);
    const QPoint at = control.CoordToPixel(x, y, 0);
    picked.clear();
    control.Pick();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), QPointF(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&control, &event);
    }
    if (picked.size() != 1)
        return "a pick on element " + std::to_string(target) + " fired " + std::to_string(picked.size()) + " events";
    const int got = picked.front();
    if (got < 0 || got >= static_cast<int>(m.elements.size()))
        return "a pick returned index " + std::to_string(got);
    const Element& hit = m.elements[static_cast<std::size_t>(got)];
    if (hit.deleted || !m.layerVisible[static_cast<std::size_t>(hit.layer)])
        return "a pick returned element " + std::to_string(got) + ", which is deleted or hidden";
    return std::nullopt;
}

std::optional<std::string> SequenceRun::Impl::compare() const
{
    const TOrvexGDI& c = control;
    const Drawing& m = model;
    const int count = c.Elements->Count();
    if (count != static_cast<int>(m.elements.size()))
        return "the control has " + std::to_string(count) + " elements, the model " + std::to_string(m.elements.size());
    std::map<const TElement*, int> objects;
    for (int i = 0; i < count; ++i) {
        const TElement& e = c.GetElement(i);
        const Element& x = m.elements[static_cast<std::size_t>(i)];
        const std::string at = "element " + std::to_string(i) + ": ";
        if (const auto [other, fresh] = objects.emplace(&e, i); !fresh)
            return at + "the same object as element " + std::to_string(other->second);
        if (e.GetEtype() != x.type)
            return at + "type " + std::to_string(e.GetEtype()) + ", the model " + std::to_string(x.type);
        if (e.GetColor() != x.colour || e.GetLineType() != x.lineType || e.GetView() != x.view ||
            e.GetLayer() != x.layer || e.GetHighlight() != x.highlight || e.GetDeleted() != x.deleted) {
            std::ostringstream text;
            text << at << std::hex << "colour " << e.GetColor() << "/" << x.colour << std::dec << ", line type "
                 << e.GetLineType() << "/" << x.lineType << ", view " << e.GetView() << "/" << x.view << ", layer "
                 << e.GetLayer() << "/" << x.layer << ", highlight " << int(e.GetHighlight()) << "/" << x.highlight
                 << ", deleted " << e.GetDeleted() << "/" << x.deleted << " (control/model)";
            return text.str();
        }
        for (int s = 0; s < 6; ++s)
            if (!close(e.GetCoord(s + 1), x.slot[static_cast<std::size_t>(s)]))
                return at + "slot " + std::to_string(s + 1) + " holds " + number(e.GetCoord(s + 1)) + ", the model " +
                       number(x.slot[static_cast<std::size_t>(s)]);
    }
    if (c.Elements->DeleteCount() != static_cast<int>(m.deletions.size()))
        return "deletion stack " + std::to_string(c.Elements->DeleteCount()) + ", the model " +
               std::to_string(m.deletions.size());
    const TSettings& s = *c.Settings;
    const double got[] = {s.ExtentMinX, s.ExtentMinY, s.ExtentMaxX, s.ExtentMaxY, s.ExtentMaxZ};
    const double want[] = {m.extents.minX, m.extents.minY, m.extents.maxX, m.extents.maxY, m.extents.maxZ};
    const char* const names[] = {"min X", "min Y", "max X", "max Y", "max Z"};
    for (int i = 0; i < 5; ++i)
        if (!close(got[i], want[i]))
            return std::string("extents ") + names[i] + " " + number(got[i]) + ", the model " + number(want[i]);
    for (int v = 1; v <= 90; ++v) {
        const TArcView& a = s.ArcViews[v];
        const ArcView& b = m.arcViews[static_cast<std::size_t>(v)];
        if (a.Defined != b.defined)
            return "arc view " + std::to_string(v) + (a.Defined ? " is defined" : " is not defined") +
                   ", not so in the model";
        const double coefficients[] = {a.M11, a.M12, a.M13, a.M21, a.M22, a.M23, a.M31, a.M32, a.M33};
        for (int i = 0; i < 9 && a.Defined; ++i)
            if (!close(coefficients[i], b.m[static_cast<std::size_t>(i)]))
                return "arc view " + std::to_string(v) + " coefficient " + std::to_string(i + 1) + " differs";
    }
    return std::nullopt;
}

std::string as_cpp(const std::vector<Op>& ops)
{
    std::ostringstream out;
    out << "TOrvexGDI c;\nc.resize(400, 300);\n";
    for (const Op& op : ops) {
        const auto& n = op.n;
        const auto D = [&](int i) { return number(op.d[i]); };
        switch (op.kind) {
        case OpKind::SetAttributes:
            out << "c.SetCurrentColor(0x" << std::hex << kColours[n[0]] << std::dec << "); c.SetCurrentLayer(" << n[1]
                << "); c.SetLineType(" << n[2] << ");";
            break;
        case OpKind::MakePoint:
            out << "c.MakePoint(" << D(0) << ", " << D(1) << ", " << D(2) << ");";
            break;
        case OpKind::MakeLine:
        case OpKind::DrawLine:
            out << (op.kind == OpKind::MakeLine ? "c.MakeLine(" : "c.DrawLine(") << D(0) << ", " << D(1) << ", " << D(2)
                << ", " << D(3) << ", " << D(4) << ", " << D(5) << ");";
            break;
        case OpKind::MakeArc:
            out << "c.MakeArc(" << n[0] << ", " << D(0) << ", " << D(1) << ", " << D(2) << ", " << D(3) << ", " << D(4)
                << ", " << D(5) << ");";
            break;
        case OpKind::MakeCircle:
            out << "c.MakeCircle(" << n[0] << ", " << D(0) << ", " << D(1) << ", " << D(2) << ", " << D(3) << ");";
            break;
        case OpKind::MakeEllipse:
            out << "c.MakeEllipse(" << D(0) << ", " << D(1) << ", " << D(2) << ", " << D(3) << ");";
            break;
        case OpKind::MakeRect:
            out << "c.MakeFilledRect(" << D(0) << ", " << D(1) << ", " << D(2) << ", " << D(3) << ", " << n[0] << ");";
            break;
        case OpKind::MakeClipRect:
            out << "c.MakeClipRect(" << D(0) << ", " << D(1) << ", " << D(2) << ", " << D(3) << ");";
            break;
        case OpKind::DrawElement:
            out << "c.DrawElement(" << n[0] << ");";
            break;
        case OpKind::AddToGroup:
            out << "c.AddToGroup(" << n[0] << ");";
            break;
        case OpKind::ClearGroup:
            out << "c.ClearGroup();";
            break;
        case OpKind::DeleteGroup:
            out << "c.DeleteGroup();";
            break;
        case OpKind::RotateGroup:
            out << "c.RotateGroup(" << D(0) << ", " << D(1) << ", " << D(2) << ", " << n[1] << ", "
                << (n[2] ? "true" : "false") << ");";
            break;
        case OpKind::ShiftGroup:
            out << "c.ShiftGroup(" << D(0) << ", " << D(1) << ", " << D(2) << ", " << n[1] << ", "
                << (n[2] ? "true" : "false") << ");";
            break;
        case OpKind::RotateElement:
            out << "c.RotateElement(" << n[0] << ", " << D(0) << ", " << D(1) << ", " << D(2) << ");";
            break;
        case OpKind::ShiftElement:
            out << "c.ShiftElement(" << n[0] << ", " << D(0) << ", " << D(1) << ", " << D(2) << ");";
            break;
        case OpKind::NewOrigin:
            out << "c.NewOrigin(" << D(0) << ", " << D(1) << ", " << D(2) << ");";
            break;
        case OpKind::SetIsDeleted:
            out << "c.SetIsDeleted(" << n[0] << ", " << (n[1] ? "true" : "false") << ");";
            break;
        case OpKind::UndeleteLast:
            out << "c.Elements->UndeleteLast();";
            break;
        case OpKind::SetElement:
            out << "c.SetElement(" << n[0] << ", c.GetElement(" << n[1] << "));";
            break;
        case OpKind::Insert:
            out << "c.Elements->Insert(" << n[0] << ");";
            break;
        case OpKind::Add:
            out << "c.Elements->Add();";
            break;
        case OpKind::ClearElements:
            out << "c.ClearElements();";
            break;
        case OpKind::SetExtents:
            out << "c.SetExtents();";
            break;
        case OpKind::ShowLayer:
            out << "c.SetVisibleLayer(" << n[0] << ", " << (n[1] ? "true" : "false") << ");";
            break;
        case OpKind::SaveAndLoad:
        case OpKind::SaveAndMerge:
            out << "c.SetCadType(" << n[0] << "); c.SetImportMode(" << (n[1] != 0 ? "imFull" : "imBasic")
                << "); c.SaveToFile(\"drawing." << kFormatNames[n[0]] << "\"); c."
                << (op.kind == OpKind::SaveAndMerge ? "MergeFile" : "LoadFromFile") << "(\"drawing."
                << kFormatNames[n[0]] << "\");";
            break;
        case OpKind::LoadSample:
        case OpKind::MergeSample:
            out << "c.SetCadType(" << kSamples[n[0]].cadType << "); c.SetImportMode("
                << (n[1] != 0 ? "imFull" : "imBasic") << "); c."
                << (op.kind == OpKind::MergeSample ? "MergeFile" : "LoadFromFile") << "(\"samples/"
                << kSamples[n[0]].name << "\");";
            break;
        case OpKind::SetView:
            out << "c.SetView(TDView(" << n[0] << "));";
            break;
        case OpKind::RotateView:
            out << "c.RotateView(" << n[0] - 200 << ", " << n[1] - 200 << ", " << n[2] - 200 << ");";
            break;
        case OpKind::ZoomAll:
            out << "c.ZoomAll();";
            break;
        case OpKind::ZoomDouble:
            out << "c.ZoomDouble();";
            break;
        case OpKind::ZoomHalf:
            out << "c.ZoomHalf();";
            break;
        case OpKind::ZoomLast:
            out << "c.ZoomLast();";
            break;
        case OpKind::Pan:
            out << "c.Pan(" << D(0) << ", " << D(1) << ");";
            break;
        case OpKind::ZoomWindow:
            out << "c.ZoomWindow(" << n[0] << ", " << n[1] * 3 / 4 << ", " << n[2] << ", " << n[3] * 3 / 4 << ");";
            break;
        case OpKind::Pick:
            out << "// pick element " << n[0] << ": c.ViewCenter(its X, its Y); c.Pick(); a click at its pixel";
            break;
        case OpKind::Count:
            break;
        }
        out << "\n";
    }
    return out.str();
}

namespace {
std::optional<std::string> replay(const std::vector<Op>& ops, const QString& Folder)
{
    SequenceRun run(Folder);
    for (std::size_t i = 0; i < ops.size(); ++i)
        if (auto difference = run.apply(ops[i]))
            return "after operation " + std::to_string(i + 1) + ": " + *difference;
    return std::nullopt;
}
} // namespace

std::optional<Failure> run_and_shrink(ChoiceSource& choices, int MaxOps, const QString& Folder)
{
    std::vector<Op> ops;
    std::optional<std::string> difference;
    {
        SequenceRun run(Folder);
        for (int i = 0; i < MaxOps && choices.more() && !difference; ++i) {
            ops.push_back(run.next(choices));
            difference = run.apply(ops.back());
        }
    }
    if (!difference)
        return std::nullopt;
    // Leave out runs of operations, longest first, while the sequence still fails.
    for (std::size_t chunk = ops.size() / 2; chunk >= 1; chunk /= 2) {
        for (std::size_t at = 0; at + chunk <= ops.size();) {
            std::vector<Op> shorter(ops.begin(), ops.begin() + static_cast<std::ptrdiff_t>(at));
            shorter.insert(shorter.end(), ops.begin() + static_cast<std::ptrdiff_t>(at + chunk), ops.end());
            if (auto still = replay(shorter, Folder)) {
                ops = std::move(shorter);
                difference = still;
            } else {
                at += chunk;
            }
        }
    }
    return Failure{ops, *difference};
}

} // namespace orvex::model
