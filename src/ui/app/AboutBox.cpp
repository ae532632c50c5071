// TAboutBoxSW: the about box.
#include "ui/app/AboutBox.h"

#include "platform/Help.h"
#include "platform/Prompt.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

QPixmap ProgramIconPixmap(int Size, qreal DevicePixelRatio)
{
    const int pixels = qRound(Size * DevicePixelRatio);
    QPixmap pm(pixels, pixels);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = pixels;
    // A page with a folded corner and an angle bracket pair on it.
    QPainterPath page;
    page.moveTo(s * 0.18, s * 0.06);
    page.lineTo(s * 0.62, s * 0.06);
    page.lineTo(s * 0.84, s * 0.28);
    page.lineTo(s * 0.84, s * 0.94);
    page.lineTo(s * 0.18, s * 0.94);
    page.closeSubpath();
    p.setPen(QPen(QColor(0, 0, 128), qMax(1.0, s / 24)));
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(192, 192, 192));
    QPainterPath fold;
    fold.moveTo(s * 0.62, s * 0.06);
    fold.lineTo(s * 0.62, s * 0.28);
    fold.lineTo(s * 0.84, s * 0.28);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(QColor(0, 0, 255), qMax(1.5, s / 12), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(s * 0.42, s * 0.44), QPointF(s * 0.28, s * 0.60), QPointF(s * 0.42, s * 0.76)}));
    p.drawPolyline(QPolygonF({QPointF(s * 0.60, s * 0.44), QPointF(s * 0.74, s * 0.60), QPointF(s * 0.60, s * 0.76)}));
    p.setPen(QPen(QColor(255, 0, 0), qMax(1.5, s / 14), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.55, s * 0.40), QPointF(s * 0.47, s * 0.80));
    p.end();
    pm.setDevicePixelRatio(DevicePixelRatio);
    return pm;
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(ProgramIconPixmap(size));
    return icon;
}

TAboutBoxSW::TAboutBoxSW(QWidget *Parent) : QDialog(Parent)
{
    setObjectName("AboutBoxSW");
    setWindowTitle("About");

    ProgramIconLabel = new QLabel(this);
    ProgramIconLabel->setObjectName("ProgramIcon");
    ProgramIconLabel->setPixmap(ProgramIconPixmap(48, devicePixelRatioF()));
    ProductName = new QLabel("Pelmar32", this);
    ProductName->setObjectName("ProductName");
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPixelSize(18);
    ProductName->setFont(big);
    Version = new QLabel(QString("Version ") + ProgramVersion, this);
    Version->setObjectName("Version");

    CreditsButton = new QPushButton("&Credits", this);
    CreditsButton->setObjectName("CreditsButton");
    CreditsButton->setAutoDefault(false);
    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(ProgramIconLabel, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(ProductName, 0, 1);
    grid->addWidget(Version, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CreditsButton);
    buttons->addWidget(OKButton);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setColumnMinimumWidth(1, 200);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(CreditsButton, &QPushButton::clicked, this, [this] { Guarded([this] { CreditsButtonClick(); }); });
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBoxSW::CreditsButtonClick()
{
    Help().ShowTopic("acknow");
}
