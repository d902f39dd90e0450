// The Designer plugin as Designer uses it: loaded with QPluginLoader, its
// widget described and created, and every published property set and read
// through the meta-object the way the property editor does.
#include <OrvexGDI/QOrvexGDI.h>

#include <QMetaEnum>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <gtest/gtest.h>

#include <memory>

using namespace orvex;

namespace {

class DesignerPlugin : public ::testing::Test {
protected:
    void SetUp() override
    {
        loader_ = std::make_unique<QPluginLoader>(QStringLiteral(ORVEX_DESIGNER_PLUGIN));
        auto* collection = qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader_->instance());
        ASSERT_NE(collection, nullptr) << loader_->errorString().toStdString();
        ASSERT_EQ(collection->customWidgets().size(), 1);
        widget_ = collection->customWidgets().front();
    }

    std::unique_ptr<QPluginLoader> loader_;
    QDesignerCustomWidgetInterface* widget_ = nullptr;
};

TEST_F(DesignerPlugin, DescribesTheDrawingControlInGroupQuorel)
{
    EXPECT_EQ(loader_->metaData().value("IID").toString(),
              "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface");
    EXPECT_EQ(widget_->name(), "orvex::TOrvexGDI");
    EXPECT_EQ(widget_->group(), "Quorel");
    EXPECT_EQ(widget_->includeFile(), "<OrvexGDI/QOrvexGDI.h>");
    EXPECT_FALSE(widget_->icon().isNull());
    EXPECT_FALSE(widget_->toolTip().isEmpty());
    EXPECT_TRUE(widget_->whatsThis().contains("TTangroGDI")); // tells where the calculator comes from
    EXPECT_FALSE(widget_->isContainer());

    // The form snippet: one widget of the plugin's class with a default size.
    QXmlStreamReader xml(widget_->domXml());
    QString widgetClass;
    int width = 0, height = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("widget"))
            widgetClass = xml.attributes().value("class").toString();
        else if (xml.name() == QLatin1String("width"))
            width = xml.readElementText().toInt();
        else if (xml.name() == QLatin1String("height"))
            height = xml.readElementText().toInt();
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(widgetClass, widget_->name());
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
}

TEST_F(DesignerPlugin, EveryPublishedPropertyIsEditableThroughTheMetaObject)
{
    std::unique_ptr<QWidget> created(widget_->createWidget(nullptr));
    auto* control = qobject_cast<TOrvexGDI*>(created.get());
    ASSERT_NE(control, nullptr);

    // Designer writes ints for enumerations; a new value per property.
    struct Edit {
        const char* name;
        QVariant value;
        QString shown; // how the property editor shows the value read back
    };
    const Edit edits[] = {
        {"BackgroundColor", 0x102030, "1056816"},
        {"DrawColor", 0x0000FF, "255"},
        {"View", int(vSIDE), "vSIDE"},
        {"LineType", 2, "2"},
        {"PickFilter", int(fLineArc), "fLineArc"},
        {"CurrentLayer", 7, "7"},
        {"CadType", 3, "3"},
        {"ImportMode", int(imFull), "imFull"},
        {"IsoLines", 4, "4"},
        {"Units", int(uMM), "uMM"},
        {"MousePan", false, "false"},
        {"WheelZoom", true, "true"},
        {"LivePan", true, "true"},
        {"RenderThreads", 4, "4"},
        {"AntiAlias", true, "true"},
        {"Version", "9.9", "2.1"},
        {"Transparent", false, "false"},
    };
    const QMetaObject* meta = control->metaObject();
    const int first = QWidget::staticMetaObject.propertyCount();
    ASSERT_EQ(meta->propertyCount() - first, int(std::size(edits))) << "a published property has no row here";
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        const int index = meta->indexOfProperty(edit.name);
        ASSERT_GE(index, first);
        const QMetaProperty property = meta->property(index);
        EXPECT_TRUE(property.isWritable() && property.isDesignable());
        EXPECT_TRUE(control->setProperty(edit.name, edit.value));
        EXPECT_EQ(control->property(edit.name).toString(), edit.shown);
        // uic turns a property of a .ui file into a call of set<Name>.
        const QByteArray setter = QByteArray("set") + edit.name + "(" + property.typeName() + ")";
        EXPECT_GE(meta->indexOfMethod(QMetaObject::normalizedSignature(setter)), 0) << setter.constData();
    }
    EXPECT_EQ(control->GetView(), vSIDE);
    EXPECT_EQ(control->GetPickFilter(), fLineArc);
    EXPECT_EQ(control->GetUnits(), uMM);
    EXPECT_EQ(control->GetImportMode(), imFull);
    EXPECT_EQ(control->GetIsoLines(), 4);
}

TEST(DesignerEnumerations, MetaObjectNamesMatchTheValues)
{
    struct Key {
        const char* enumeration;
        const char* key;
        int value;
    };
    const Key keys[] = {
        {"TDView", "vTOP", vTOP},
        {"TDView", "vFRONT", vFRONT},
        {"TDView", "vSIDE", vSIDE},
        {"TDView", "vISO", vISO},
        {"TDUnits", "uINCH", uINCH},
        {"TDUnits", "uMM", uMM},
        {"TDFilter", "fAll", fAll},
        {"TDFilter", "fPoints", fPoints},
        {"TDFilter", "fLines", fLines},
        {"TDFilter", "fArcs", fArcs},
        {"TDFilter", "fPointLine", fPointLine},
        {"TDFilter", "fPointArc", fPointArc},
        {"TDFilter", "fLineArc", fLineArc},
        {"TImportMode", "imBasic", imBasic},
        {"TImportMode", "imFull", imFull},
    };
    for (const Key& k : keys) {
        const int index = orvex::staticMetaObject.indexOfEnumerator(k.enumeration);
        ASSERT_GE(index, 0) << k.enumeration;
        const QMetaEnum e = orvex::staticMetaObject.enumerator(index);
        EXPECT_EQ(e.keyToValue(k.key), k.value) << k.key;
    }
    EXPECT_EQ(QMetaEnum::fromType<TDView>().keyCount(), 4);
    EXPECT_EQ(QMetaEnum::fromType<TDUnits>().keyCount(), 2);
    EXPECT_EQ(QMetaEnum::fromType<TDFilter>().keyCount(), 7);
    EXPECT_EQ(QMetaEnum::fromType<TImportMode>().keyCount(), 2);
}

} // namespace
