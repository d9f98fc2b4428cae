#include "ui/SdModelLayout.h"

#include "app/DSharedApp.h"
#include "render/DMoveModelInteractor.h"
#include "render/DViewInput.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

SdModelLayout::SdModelLayout(DSharedApp *app, InputProvider input, QWidget *parent)
    : QFrame(parent), m_app(app), m_input(std::move(input))
{
    setObjectName(QStringLiteral("SdModelLayout"));
    setStyleSheet(QStringLiteral("SdModelLayout{background:#ffffff;border:1px solid #d0d4da;"
                                 "border-radius:6px;}"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    m_copyGroup = new QGroupBox(this);
    auto *copyGrid = new QGridLayout(m_copyGroup);
    m_numbersLabel = new QLabel(m_copyGroup);
    m_numbers = new QSpinBox(m_copyGroup);
    m_numbers->setObjectName(QStringLiteral("Numbers"));
    m_numbers->setRange(1, 100);
    m_intervalLabel = new QLabel(m_copyGroup);
    m_interval = new QSpinBox(m_copyGroup);
    m_interval->setObjectName(QStringLiteral("Interval"));
    m_interval->setRange(1, 50);
    m_interval->setValue(2);
    m_interval->setSuffix(QStringLiteral(" mm"));
    m_copy = new QPushButton(m_copyGroup);
    m_copy->setObjectName(QStringLiteral("pbCopy"));
    copyGrid->addWidget(m_numbersLabel, 0, 0);
    copyGrid->addWidget(m_numbers, 0, 1);
    copyGrid->addWidget(m_intervalLabel, 1, 0);
    copyGrid->addWidget(m_interval, 1, 1);
    copyGrid->addWidget(m_copy, 2, 0, 1, 2);
    layout->addWidget(m_copyGroup);

    m_layoutGroup = new QGroupBox(this);
    auto *layoutBox = new QVBoxLayout(m_layoutGroup);
    m_layout = new QPushButton(m_layoutGroup);
    m_layout->setObjectName(QStringLiteral("pbLayout"));
    m_selectAll = new QPushButton(m_layoutGroup);
    m_selectAll->setObjectName(QStringLiteral("pbSelectAll"));
    m_selectInverse = new QPushButton(m_layoutGroup);
    m_selectInverse->setObjectName(QStringLiteral("pbSelectInverse"));
    layoutBox->addWidget(m_layout);
    layoutBox->addWidget(m_selectAll);
    layoutBox->addWidget(m_selectInverse);
    layout->addWidget(m_layoutGroup);

    connect(m_copy, &QPushButton::clicked, this, &SdModelLayout::CopyModel);
    connect(m_layout, &QPushButton::clicked, this, &SdModelLayout::LayoutModel);
    connect(m_selectAll, &QPushButton::clicked, this, &SdModelLayout::onSelecteAll);
    connect(m_selectInverse, &QPushButton::clicked, this, &SdModelLayout::onSelecteInverse);
    retranslate();
    adjustSize();
}

void SdModelLayout::retranslate()
{
    m_copyGroup->setTitle(tr("Copying Model"));
    m_layoutGroup->setTitle(tr("Layout Models"));
    m_numbersLabel->setText(tr("Numbers"));
    m_intervalLabel->setText(tr("Interval"));
    m_copy->setText(tr("Copy"));
    m_layout->setText(tr("Auto Layout"));
    m_selectAll->setText(tr("Selecte All"));
    m_selectInverse->setText(tr("Selecte Inverse"));
}

void SdModelLayout::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void SdModelLayout::showEvent(QShowEvent *event)
{
    if (Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr)
        input->install(input->moveInteractor(), 1);
    QFrame::showEvent(event);
}

void SdModelLayout::hideEvent(QHideEvent *event)
{
    if (Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr)
        input->remove(input->moveInteractor());
    QFrame::hideEvent(event);
}

void SdModelLayout::notify(const QString &text)
{
    if (m_notice) {
        m_notice(text);
        return;
    }
    QMessageBox::information(this, tr("Tip"), text, QMessageBox::Ok);
}

void SdModelLayout::CopyModel()
{
    if (!m_app)
        return;
    if (m_app->scene().selection().empty()) {
        notify(tr("selectModelToCopy"));
        return;
    }
    m_app->copyModels(m_numbers->value(), m_interval->value());
}

void SdModelLayout::LayoutModel()
{
    if (!m_app)
        return;
    if (m_app->scene().isEmpty()) {
        notify(tr("noModelToLayout"));
        return;
    }
    m_app->layoutModels(m_interval->value());
}

void SdModelLayout::onSelecteAll()
{
    if (!m_app)
        return;
    m_app->selectAllModels();
    m_app->sceneChanged();
}

void SdModelLayout::onSelecteInverse()
{
    if (!m_app)
        return;
    m_app->invertSelection();
    m_app->sceneChanged();
}
