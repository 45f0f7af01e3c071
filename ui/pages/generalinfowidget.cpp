#include "ui/pages/generalinfowidget.h"

#include "model/records.h"
#include "ui_generalinfowidget.h"

#include <QLabel>

#include <algorithm>

namespace {

constexpr int Enigma2Page = 0;
constexpr int Enigma1Page = 1;

} // namespace

GeneralInfoWidget::GeneralInfoWidget(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::GeneralInfoWidget>())
{
    ui->setupUi(this);
    for (QWidget* page : {ui->enigma2_page, ui->enigma1_page}) {
        // One caption width for all groups of a sub-page, so that the values line up.
        QList<QLabel*> captions;
        int captionWidth = 0;
        const QList<QLabel*> labels = page->findChildren<QLabel*>();
        for (QLabel* label : labels) {
            if (label->textInteractionFlags() & Qt::TextSelectableByMouse) {
                label->clear();
            } else {
                captions.append(label);
                captionWidth = std::max(captionWidth, label->sizeHint().width());
            }
        }
        for (QLabel* caption : std::as_const(captions))
            caption->setMinimumWidth(captionWidth);
    }
    ui->info_stackedWidget->setCurrentIndex(Enigma2Page);
}

GeneralInfoWidget::~GeneralInfoWidget() = default;

void GeneralInfoWidget::setAboutInformation(const AboutInfo* info)
{
    if (!info)
        return;
    ui->info_stackedWidget->setCurrentIndex(Enigma2Page);
    ui->infoEnigmaVersion_label->setText(info->enigmaVersion);
    ui->infoImageVersion_label->setText(info->imageVersion);
    ui->infoWebifVersion_label->setText(info->webifVersion);
    ui->infoModel_label->setText(info->model);
    ui->infoMAC_label->setText(info->lanMac);
    ui->infoIP_label->setText(info->lanIp);
    ui->infoMask_label->setText(info->lanMask);
    ui->infoGateway_label->setText(info->lanGateway);
    ui->infoDHCP_label->setText(info->lanDhcp ? tr("Yes") : tr("No"));
    ui->infoHDDModel_label->setText(info->hddModel);
    ui->infoCapacity_label->setText(info->hddCapacity);
    ui->infoFreeSpace_label->setText(info->hddFree);
    ui->infoTunerName_label->setText(info->tunerName);
    ui->infoTunerType_label->setText(info->tunerType);
}

void GeneralInfoWidget::setAboutInformation(const AboutInfoE1* info)
{
    if (!info)
        return;
    ui->info_stackedWidget->setCurrentIndex(Enigma1Page);
    ui->infoKernel_label->setText(info->linuxKernel);
    ui->infoFirmware_label->setText(info->firmware);
    ui->infoWebifVersion_label_2->setText(info->webInterface);
    ui->infoModel_label_2->setText(info->model);
    ui->infoManufacturer_label->setText(info->manufacturer);
    ui->infoCPU_label->setText(info->processor);
    ui->infoHDDModel_label_2->setText(info->harddisk);
}

void GeneralInfoWidget::setSignalInformation(const SignalInfo* info)
{
    if (!info)
        return;
    ui->infoSNRdB_label->setText(info->snrDbText);
    ui->infoSNR_label->setText(info->snrText);
    ui->infoAGC_label->setText(info->agcText);
    ui->infoBER_label->setText(info->berText);
}

void GeneralInfoWidget::setDeviceInformation(const DeviceData* deviceData)
{
    if (!deviceData)
        return;
    ui->infoFreeSpace_label_2->setText(deviceData->diskGB);
    ui->infoCapacity_label_2->setText(deviceData->diskH);
    ui->infoSNR_label_2->setText(deviceData->snr);
    ui->infoAGC_label_2->setText(deviceData->agc);
    ui->infoBER_label_2->setText(deviceData->ber);
}

void GeneralInfoWidget::setDataInformation(QString dataString)
{
    ui->infoBytesReceived_label->setText(dataString);
    ui->infoBytesReceived_label_2->setText(dataString);
}
