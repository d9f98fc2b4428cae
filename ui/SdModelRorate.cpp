#include "ui/SdModelRorate.h"

#include "app/DSharedApp.h"
#include "render/DRotateModelInteractor.h"
#include "render/DViewInput.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <array>

SdModelRorate::SdModelRorate(DSharedApp *app, InputProvider input, QWidget *parent)
    : QFrame(parent), m_app(app), m_input(std::move(input))
{
    setObjectName(QStringLiteral("SdModelRorate"));
    setStyleSheet(QStringLiteral("SdModelRorate{background:#ffffff;border:1px solid #d0d4da;"
                                 "border-radius:6px;}"));
    setFocusPolicy(Qt::StrongFocus);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("RorateLabel"));
    m_title->setStyleSheet(QStringLiteral("font-weight:bold;"));
    grid->addWidget(m_title, 0, 0, 1, 2);
    m_reset = new QPushButton(this);
    m_reset->setObjectName(QStringLiteral("pbRorateReset"));
    m_reset->setIcon(QIcon(QStringLiteral(":/Image/refresh.png")));
    m_reset->setStyleSheet(QStringLiteral("background:transparent;border:0px;"));
    grid->addWidget(m_reset, 0, 2, Qt::AlignRight);
    const char *names[3] = {"sbRorateX", "sbRorateY", "sbRorateZ"};
    for (int a = 0; a < 3; ++a) {
        m_axis[a] = new QLabel(QString(QChar('X' + a)), this);
        m_spin[a] = new QSpinBox(this);
        m_spin[a]->setObjectName(QLatin1String(names[a]));
        m_spin[a]->setRange(-180, 180);
        m_spin[a]->setGroupSeparatorShown(true);
        m_spin[a]->setSuffix(QStringLiteral("°"));
        m_spin[a]->installEventFilter(this);
        grid->addWidget(m_axis[a], 1 + a, 0);
        grid->addWidget(m_spin[a], 1 + a, 1, 1, 2);
    }
    m_layFlat = new QCheckBox(this);
    m_layFlat->setObjectName(QStringLiteral("LayFlatCheck"));
    grid->addWidget(m_layFlat, 4, 0, 1, 3);

    connect(m_spin[0], qOverload<int>(&QSpinBox::valueChanged), this,
            &SdModelRorate::RorateXChanged);
    connect(m_spin[1], qOverload<int>(&QSpinBox::valueChanged), this,
            &SdModelRorate::RorateYChanged);
    connect(m_spin[2], qOverload<int>(&QSpinBox::valueChanged), this,
            &SdModelRorate::RorateZChanged);
    connect(m_reset, &QPushButton::clicked, this, &SdModelRorate::RorateReset);
    connect(m_layFlat, &QCheckBox::toggled, this, &SdModelRorate::ChooseBottom);
    // The rings follow the selected model when the scene changes (undo, the model list, ...).
    if (m_app)
        m_app->subscribe(QStringLiteral("SdModelRorate"),
                         [this](Orvane3Ds::EAppEvent e, const QString &) {
                             if (e == Orvane3Ds::SceneChanged && isVisible())
                                 if (auto *interactor = tool())
                                     interactor->rebuildRings();
                         });
    retranslate();
    adjustSize();
}

SdModelRorate::~SdModelRorate()
{
    if (m_app)
        m_app->events().unsubscribe(QStringLiteral("SdModelRorate"));
}

void SdModelRorate::retranslate()
{
    m_title->setText(tr("RorateLabel"));
    m_layFlat->setText(tr("LayFlatCheck"));
    m_reset->setToolTip(tr("rorateReset"));
    for (QSpinBox *spin : m_spin)
        spin->setToolTip(tr("rorateApplyTip"));
}

void SdModelRorate::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

Orvane3Ds::DRotateModelInteractor *SdModelRorate::tool() const
{
    Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr;
    return input ? input->rotateInteractor().get() : nullptr;
}

void SdModelRorate::showEvent(QShowEvent *event)
{
    if (Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr) {
        auto &interactor = input->rotateInteractor();
        interactor->setLayFlat(m_layFlat->isChecked());
        input->install(interactor, 1);
    }
    QFrame::showEvent(event);
}

void SdModelRorate::hideEvent(QHideEvent *event)
{
    if (Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr)
        input->remove(input->rotateInteractor());
    QFrame::hideEvent(event);
}

void SdModelRorate::zeroSpinBoxes()
{
    for (QSpinBox *spin : m_spin) {
        QSignalBlocker block(spin);
        spin->setValue(0);
    }
}

void SdModelRorate::angleChanged(int axis)
{
    // The box the user types in (the focus widget of its window).
    QSpinBox *spin = m_spin[axis];
    if (!spin->hasFocus() && spin->window()->focusWidget() != spin)
        return;
    for (int a = 0; a < 3; ++a) {
        if (a == axis)
            continue;
        QSignalBlocker block(m_spin[a]);
        m_spin[a]->setValue(0);
    }
}

void SdModelRorate::RorateXChanged(int)
{
    angleChanged(0);
}
void SdModelRorate::RorateYChanged(int)
{
    angleChanged(1);
}
void SdModelRorate::RorateZChanged(int)
{
    angleChanged(2);
}

bool SdModelRorate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int a = 0; a < 3; ++a)
                if (watched == m_spin[a]) {
                    m_spin[a]->interpretText();
                    applyAngle(a);
                    return true;
                }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void SdModelRorate::applyAngle(int axis)
{
    auto *interactor = tool();
    if (!m_app || !interactor || m_app->scene().selection().size() != 1)
        return;
    const int degrees = m_spin[axis]->value();
    if (degrees != 0) {
        interactor->rotateModel(m_app->scene().currentModel(), axis + 1,
                                static_cast<float>(degrees));
        m_app->sceneChanged();
    }
    setFocus();
}

void SdModelRorate::RorateReset()
{
    auto *interactor = tool();
    if (!m_app || !interactor || m_app->scene().selection().size() != 1)
        return;
    zeroSpinBoxes();
    const Matrix4f &a = interactor->accumulated();
    // A rotation's inverse is its transpose.
    Matrix4f inverse = identityMatrix();
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            inverse[4 * c + r] = a[4 * r + c];
    if (inverse != identityMatrix())
        interactor->applyRotation(m_app->scene().currentModel(), inverse,
                                  interactor->lastGrabbedRing() != 3, "RotateModel");
    interactor->resetAccumulated();
    m_app->sceneChanged();
}

void SdModelRorate::ChooseBottom()
{
    zeroSpinBoxes();
    if (auto *interactor = tool())
        interactor->setLayFlat(m_layFlat->isChecked());
    if (m_app)
        m_app->requestRepaint();
}
