// A paint device that records what is drawn on it instead of rasterising:
// each primitive with the pen in force, so tests can check the figures a
// paint pass produces (segment counts, dash styles, colours) exactly.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>

#include <string>
#include <vector>

struct RecordedLine {
    QLineF line;
    QPen pen;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override
    {
        if (state.state() & QPaintEngine::DirtyPen)
            pen = state.pen();
    }
    void drawLines(const QLineF* lines, int count) override
    {
        ++calls;
        for (int i = 0; i < count; ++i)
            this->lines.push_back({lines[i], pen});
    }
    void drawLines(const QLine* lines, int count) override
    {
        ++calls;
        for (int i = 0; i < count; ++i)
            this->lines.push_back({QLineF(lines[i]), pen});
    }
    void drawEllipse(const QRectF& r) override { ellipses.push_back(r); }
    void drawEllipse(const QRect& r) override { ellipses.push_back(QRectF(r)); }
    void drawPath(const QPainterPath& path) override { paths.push_back(path); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override { ++polygons; }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override { ++images; }
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override { ++images; }
    Type type() const override { return QPaintEngine::User; }

    QPen pen;
    int calls = 0;
    int polygons = 0;
    int images = 0;
    std::vector<RecordedLine> lines;
    std::vector<QRectF> ellipses;
    std::vector<QPainterPath> paths;
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(int width = 400, int height = 300) : width_(width), height_(height) {}
    QPaintEngine* paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return width_;
        case PdmHeight:
            return height_;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return 1 * QPaintDevice::devicePixelRatioFScale();
        default:
            return 1000;
        }
    }

private:
    int width_, height_;
};
