// Designer's description of the drawing control TOrvexGDI: where it sits in
// the widget box, how it looks there, and how a form creates it.
#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class OrvexWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    explicit OrvexWidgetPlugin(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QIcon icon() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    QString includeFile() const override;
    QString domXml() const override;
    bool isInitialized() const override;
    void initialize(QDesignerFormEditorInterface* core) override;

private:
    bool initialized_ = false;
};
