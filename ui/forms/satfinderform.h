#pragma once

class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QWidget;

// The controls of the satellite finder: what is measured, and the meters.
struct SatfinderForm
{
    QComboBox* satfinderSatelite_comboBox = nullptr;
    QComboBox* satfinderFrequency_comboBox = nullptr;
    QLabel* satfinderSNR_label = nullptr;
    QLabel* satfinderAGC_label = nullptr;
    QLabel* satfinderBER_label = nullptr;
    QLabel* satfinderSNRdB_label = nullptr;
    QProgressBar* satfinderSNR_progressBar = nullptr;
    QProgressBar* satfinderAGC_progressBar = nullptr;
    QProgressBar* satfinderBER_progressBar = nullptr;
    QCheckBox* satfinderLOCK_checkBox = nullptr;
    QCheckBox* satfinderSYNC_checkBox = nullptr;
    // Tells why there is nothing to choose from.
    QLabel* satfinderHint_label = nullptr;
};

// Builds the controls into page, in their initial state.
void setupSatfinderForm(SatfinderForm& form, QWidget* page);
