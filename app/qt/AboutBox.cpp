#include "app/qt/AboutBox.h"

#include "app/qt/Artwork.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace talver {

namespace {

QLabel* Line(const QString& text, bool bold = false)
{
    auto* label = new QLabel(text);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About TALVER"));

    auto* picture = new QLabel;
    picture->setPixmap(ArtworkPixmap(QStringLiteral("icon"), QSize(64, 64)));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* text = new QVBoxLayout;
    text->setSpacing(2);
    text->addWidget(Line(QStringLiteral("TALVER Version 2.01 for Win95/NT"), true));
    text->addWidget(Line(QStringLiteral("August, 2002")));
    text->addSpacing(10);
    // The credits are those of the report's title block.
    text->addWidget(Line(QStringLiteral("Department of Quantitative Methods")));
    text->addWidget(Line(QStringLiteral("Aldmoor University, Aldmoor")));
    text->addSpacing(6);
    text->addWidget(Line(QStringLiteral("Programing: Mira Castell")));
    text->addWidget(Line(QStringLiteral("Mathematical Specification: Jonas Ferrer, Elena Varga")));

    auto* body = new QHBoxLayout;
    body->setSpacing(16);
    body->addWidget(picture);
    body->addLayout(text);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("control1"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(18, 18, 18, 12);
    layout->setSpacing(14);
    layout->addLayout(body);
    layout->addWidget(buttons);
}

} // namespace talver
