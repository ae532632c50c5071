// TCellProperty: the cell properties dialog of the table designer: alignment, wrapping and text of one cell.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

class TCellProperty : public QDialog {
    Q_OBJECT
public:
    // The caption is set per use by the designer.
    explicit TCellProperty(QWidget *Parent = nullptr);

    QComboBox *HAlignCombo = nullptr, *VAlignCombo = nullptr;
    QLineEdit *TextEdit = nullptr;
    QCheckBox *NoWrapCheck = nullptr;
    QPushButton *OKBtn = nullptr, *CancelBtn = nullptr;
};
