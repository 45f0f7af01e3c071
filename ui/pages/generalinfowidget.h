#pragma once

#include <QString>
#include <QWidget>

#include <memory>

struct AboutInfo;
struct AboutInfoE1;
struct DeviceData;
struct SignalInfo;

namespace Ui {
class GeneralInfoWidget;
}

// What is known about the receiver: versions, model, network, disk, tuner, signal and the data
// received so far. Enigma2 and Enigma1 boxes tell different facts, so there is one sub-page for
// each; the last about record decides which one shows. The page only displays.
class GeneralInfoWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GeneralInfoWidget(QWidget* parent);
    ~GeneralInfoWidget() override;

public Q_SLOTS:
    void setAboutInformation(const AboutInfo* info);
    void setAboutInformation(const AboutInfoE1* info);
    void setSignalInformation(const SignalInfo* info);
    void setDeviceInformation(const DeviceData* deviceData);
    void setDataInformation(QString dataString);

private:
    const std::unique_ptr<Ui::GeneralInfoWidget> ui;
};
