#include "orvex_widget_plugin.h"

#include <OrvexGDI/QOrvexGDI.h>

#include <QIcon>
#include <QPainter>
#include <QPixmap>

OrvexWidgetPlugin::OrvexWidgetPlugin(QObject* parent) : QObject(parent) {}

QString OrvexWidgetPlugin::name() const { return QString::fromLatin1(orvex::TOrvexGDI::staticMetaObject.className()); }

QString OrvexWidgetPlugin::group() const { return QString::fromLatin1(orvex::kPalettePage); }

QIcon OrvexWidgetPlugin::icon() const
{
    // A green part outline with a yellow bore on the control's black
    // background, drawn here so the plugin carries no image files.
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 255, 0), 2));
    painter.drawPolyline(QPolygonF({{4, 26}, {4, 6}, {20, 6}, {28, 14}, {28, 26}, {4, 26}}));
    painter.setPen(QPen(QColor(255, 255, 0), 2));
    painter.drawEllipse(QPointF(14, 17), 5, 5);
    painter.end();
    return QIcon(pixmap);
}

QString OrvexWidgetPlugin::toolTip() const
{
    return tr("Drawing control: shows and edits a 2-D/3-D line drawing (OVX, DXF, IGES)");
}

QString OrvexWidgetPlugin::whatsThis() const
{
    return tr("TOrvexGDI owns a drawing of points, lines, arcs, circles, ellipses, rectangles and "
              "images in model coordinates, shows it in top, front, side or isometric view, zooms, "
              "pans and rotates with the mouse, picks elements, and reads and writes OVX, DXF and "
              "IGES files. The construction calculator TTangroGDI is no widget: create it in code.");
}

bool OrvexWidgetPlugin::isContainer() const { return false; }

QWidget* OrvexWidgetPlugin::createWidget(QWidget* parent) { return new orvex::TOrvexGDI(parent); }

QString OrvexWidgetPlugin::includeFile() const { return QStringLiteral("<OrvexGDI/QOrvexGDI.h>"); }

QString OrvexWidgetPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="%1" name="OrvexGDI1">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>400</width><height>300</height></rect>
  </property>
 </widget>
</ui>
)")
        .arg(name());
}

bool OrvexWidgetPlugin::isInitialized() const { return initialized_; }

void OrvexWidgetPlugin::initialize(QDesignerFormEditorInterface*) { initialized_ = true; }
