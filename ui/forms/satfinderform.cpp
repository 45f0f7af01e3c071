#include "ui/forms/satfinderform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>

namespace {

constexpr int percentMaximum = 100;
constexpr int berMaximum = 100000;
constexpr int meterHeight = 28;

template<typename T>
T* named(QWidget* page, const char* name)
{
    auto* widget = new T(page);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QProgressBar* meter(QWidget* page, const char* name, int maximum)
{
    auto* bar = named<QProgressBar>(page, name);
    bar->setRange(0, maximum);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setMinimumHeight(meterHeight);
    return bar;
}

QLabel* value(QWidget* page, const char* name, const QString& initial)
{
    auto* label = named<QLabel>(page, name);
    label->setText(initial);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

} // namespace

void setupSatfinderForm(SatfinderForm& form, QWidget* page)
{
    form.satfinderSatelite_comboBox = named<QComboBox>(page, "satfinderSatelite_comboBox");
    form.satfinderFrequency_comboBox = named<QComboBox>(page, "satfinderFrequency_comboBox");
    for (QComboBox* box : {form.satfinderSatelite_comboBox, form.satfinderFrequency_comboBox})
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    form.satfinderSNR_label = value(page, "satfinderSNR_label", QStringLiteral("0%"));
    form.satfinderAGC_label = value(page, "satfinderAGC_label", QStringLiteral("0%"));
    form.satfinderBER_label = value(page, "satfinderBER_label", QStringLiteral("0"));
    form.satfinderSNRdB_label = value(page, "satfinderSNRdB_label", QStringLiteral("13.33 dB"));
    form.satfinderSNR_progressBar = meter(page, "satfinderSNR_progressBar", percentMaximum);
    form.satfinderAGC_progressBar = meter(page, "satfinderAGC_progressBar", percentMaximum);
    form.satfinderBER_progressBar = meter(page, "satfinderBER_progressBar", berMaximum);
    form.satfinderLOCK_checkBox = named<QCheckBox>(page, "satfinderLOCK_checkBox");
    form.satfinderLOCK_checkBox->setText(QCoreApplication::translate("SatfinderForm", "LOCK"));
    form.satfinderSYNC_checkBox = named<QCheckBox>(page, "satfinderSYNC_checkBox");
    form.satfinderSYNC_checkBox->setText(QCoreApplication::translate("SatfinderForm", "SYNC"));
    // The page sets them from the receiver's answer; the user cannot.
    for (QCheckBox* box : {form.satfinderLOCK_checkBox, form.satfinderSYNC_checkBox}) {
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        box->setFocusPolicy(Qt::NoFocus);
    }

    form.satfinderHint_label = named<QLabel>(page, "satfinderHint_label");
    form.satfinderHint_label->setWordWrap(true);
    form.satfinderHint_label->hide();

    auto* grid = new QGridLayout(page);
    grid->addWidget(form.satfinderSatelite_comboBox, 0, 0, 1, 4);
    grid->addWidget(form.satfinderFrequency_comboBox, 1, 0, 1, 4);
    const auto row = [&](int r, const QString& caption, QLabel* label, QProgressBar* bar) {
        grid->addWidget(new QLabel(caption, page), r, 0);
        grid->addWidget(bar, r, 1, 1, 2);
        grid->addWidget(label, r, 3);
    };
    row(2, QCoreApplication::translate("SatfinderForm", "SNR:"), form.satfinderSNR_label,
        form.satfinderSNR_progressBar);
    row(3, QCoreApplication::translate("SatfinderForm", "AGC:"), form.satfinderAGC_label,
        form.satfinderAGC_progressBar);
    row(4, QCoreApplication::translate("SatfinderForm", "BER:"), form.satfinderBER_label,
        form.satfinderBER_progressBar);
    grid->addWidget(form.satfinderLOCK_checkBox, 5, 1);
    grid->addWidget(form.satfinderSYNC_checkBox, 5, 2);
    grid->addWidget(form.satfinderSNRdB_label, 5, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(form.satfinderHint_label, 6, 0, 1, 4);
    grid->setRowStretch(7, 1);
}
