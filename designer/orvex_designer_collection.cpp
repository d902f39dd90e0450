#include "orvex_designer_collection.h"

#include "orvex_widget_plugin.h"

OrvexDesignerCollection::OrvexDesignerCollection(QObject* parent) : QObject(parent)
{
    widgets_.append(new OrvexWidgetPlugin(this));
}

QList<QDesignerCustomWidgetInterface*> OrvexDesignerCollection::customWidgets() const { return widgets_; }
