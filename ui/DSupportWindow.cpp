#include "ui/DSupportWindow.h"

#include "app/DSharedApp.h"
#include "geometry/DScene.h"
#include "geometry/Model.h"
#include "render/DSupportEditHandle.h"
#include "render/DSupportEditor.h"
#include "render/DViewInput.h"
#include "supports/DsCylider.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace
{

const QString kSubscriber = QStringLiteral("DSupportWindow");

const char *const kFieldNames[DSupportWindow::FieldCount] = {
    "leTopBallRadius", "leBottomBallRadius",
    "leTopRadius",     "leBottomRadius",
    "leMoveUpValue",   "leTopX",
    "leTopY",          "leTopZ",
    "leBottomX",       "leBottomY",
    "leBottomZ"};

const char *const kLabelKeys[7] = {QT_TRANSLATE_NOOP("DSupportWindow", "topBallRadius"),
                                   QT_TRANSLATE_NOOP("DSupportWindow", "bottomBallRadius"),
                                   QT_TRANSLATE_NOOP("DSupportWindow", "topRadius"),
                                   QT_TRANSLATE_NOOP("DSupportWindow", "bottomRadius"),
                                   QT_TRANSLATE_NOOP("DSupportWindow", "MoveUpValue"),
                                   QT_TRANSLATE_NOOP("DSupportWindow", "VectexZMax"),
                                   QT_TRANSLATE_NOOP("DSupportWindow", "VectexZMin")};

bool isPointField(DSupportWindow::Field which)
{
    return which >= DSupportWindow::TopX;
}

bool isRadiusField(DSupportWindow::Field which)
{
    return which <= DSupportWindow::RodBottomRadius;
}

} // namespace

DSupportWindow::DSupportWindow(DSharedApp *app, InputProvider input, QWidget *parent)
    : QFrame(parent), m_app(app), m_input(std::move(input)),
      m_handle(std::make_unique<Orvane3Ds::DSupportEditHandle>(m_input))
{
    setObjectName(QStringLiteral("DSupportWindow"));
    setStyleSheet(QStringLiteral("DSupportWindow{background:#ffffff;border:1px solid #d0d4da;"
                                 "border-radius:4px;}"));
    // Sizes that show on the platform; the panel is where they are changed.
    m_settings.topBallRadius = 0.3f;
    m_settings.bottomBallRadius = 0.6f;
    m_settings.rodTopRadius = 0.2f;
    m_settings.rodBottomRadius = 0.4f;

    auto *layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lbJewSupport"));
    layout->addWidget(m_title);
    m_limit = new QCheckBox(this);
    m_limit->setObjectName(QStringLiteral("cbLimitAtZAxis"));
    m_grow = new QCheckBox(this);
    m_grow->setObjectName(QStringLiteral("cbGrowFromFloor"));
    m_platform = new QCheckBox(this);
    m_platform->setObjectName(QStringLiteral("cbChoosePlatform"));
    m_platform->setEnabled(false);
    for (QCheckBox *box : {m_limit, m_grow, m_platform})
        layout->addWidget(box);

    const QRegularExpression positive(QStringLiteral("[0-9]*\\.?[0-9]*"));
    const QRegularExpression coordinate(QStringLiteral("-?[0-9]*\\.?[0-9]*"));
    for (int i = 0; i < FieldCount; ++i) {
        const auto which = Field(i);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(kFieldNames[i]));
        edit->setValidator(
            new QRegularExpressionValidator(isPointField(which) ? coordinate : positive, edit));
        edit->setMinimumWidth(isPointField(which) ? 52 : 80);
        connect(edit, &QLineEdit::textEdited, this,
                [this, which](const QString &text) { OnLineEditValueChange(which, text); });
        m_fields[i] = edit;
    }
    auto *grid = new QGridLayout;
    for (int row = 0; row < 5; ++row) {
        m_labels[row] = new QLabel(this);
        grid->addWidget(m_labels[row], row, 0);
        grid->addWidget(m_fields[row], row, 1);
    }
    layout->addLayout(grid);
    for (int point = 0; point < 2; ++point) {
        m_labels[5 + point] = new QLabel(this);
        layout->addWidget(m_labels[5 + point]);
        auto *row = new QHBoxLayout;
        for (int axis = 0; axis < 3; ++axis)
            row->addWidget(m_fields[TopX + point * 3 + axis]);
        layout->addLayout(row);
    }
    m_edit = new QPushButton(this);
    m_edit->setObjectName(QStringLiteral("pbEditing"));
    layout->addWidget(m_edit);

    connect(m_edit, &QPushButton::clicked, this, &DSupportWindow::OnEditing);
    connect(m_limit, &QCheckBox::toggled, this, &DSupportWindow::OnLimitAtZAxisChange);
    connect(m_grow, &QCheckBox::toggled, this, &DSupportWindow::OnGrowFromFloorChange);
    connect(m_platform, &QCheckBox::toggled, this, &DSupportWindow::OnIsFloorChange);
    m_handle->setSelectionCallback(
        [this](const std::shared_ptr<DsCylider> &rod) { OnUpdateObjectInfo(rod); });
    // A middle press toggled the editor's platform prior: the box follows.
    m_handle->setMiddlePressCallback([this](int, int) {
        const QSignalBlocker block(m_platform);
        m_platform->setChecked(m_handle->editor()->platformPrior());
    });
    m_app->subscribe(kSubscriber, [this](Orvane3Ds::EAppEvent event, const QString &) {
        if (event == Orvane3Ds::SceneChanged)
            QMetaObject::invokeMethod(
                this, [this] { followScene(); }, Qt::QueuedConnection);
    });

    m_handle->applySettings(m_settings);
    OnUpdateUIFromConfig(m_settings);
    retranslate();
    setFixedWidth(250);
    adjustSize();
}

DSupportWindow::~DSupportWindow()
{
    m_app->events().unsubscribe(kSubscriber);
}

bool DSupportWindow::isEditing() const
{
    return m_handle->isEditing();
}

void DSupportWindow::retranslate()
{
    setWindowTitle(tr("Form"));
    m_title->setText(tr("jewSupportLabel"));
    m_limit->setText(tr("isLimitAtZAxis"));
    m_grow->setText(tr("isGrowFromFloor"));
    m_platform->setText(tr("isChoosePlatform"));
    for (int i = 0; i < 7; ++i)
        m_labels[i]->setText(tr(kLabelKeys[i]));
    m_edit->setText(isEditing() ? tr("endEditSupport") : tr("beginEditSupport"));
}

void DSupportWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void DSupportWindow::hideEvent(QHideEvent *event)
{
    // Another panel took the view: the rods placed so far stay with the model. (A minimised
    // window hides the panel too; that ends nothing.)
    if (isEditing() && !event->spontaneous())
        OnEndEditing();
    emit sHideWindow();
    QFrame::hideEvent(event);
}

void DSupportWindow::followScene()
{
    if (!isEditing())
        return;
    // Models loaded (or gone) meanwhile: the user looks at the scene again, which the editing
    // view would hide. The rods placed so far stay with the edited model.
    if (m_app->scene().models() != m_sceneAtStart)
        OnEndEditing();
}

bool DSupportWindow::selectedIsUsable(bool tell)
{
    const auto model = m_app->scene().currentModel();
    if (!model) {
        if (tell)
            QMessageBox::warning(this, tr("Tip"), tr("noModelSelected"), QMessageBox::Ok);
        return false;
    }
    if (model->sourceKind() == SourceKind::SlcContours) {
        if (tell) {
            QMessageBox box(QMessageBox::Warning, tr("Tip"), tr("cannotEditSupport"),
                            QMessageBox::NoButton, this);
            box.addButton(tr("OK"), QMessageBox::AcceptRole);
            box.exec();
        }
        return false;
    }
    return true;
}

void DSupportWindow::OnEditing()
{
    if (isEditing()) {
        OnEndEditing();
        return;
    }
    if (!selectedIsUsable(true))
        return;
    OnStartEdting();
}

void DSupportWindow::OnStartEdting()
{
    const auto model = m_app->scene().currentModel();
    if (!model)
        return;
    Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr;
    if (input && input->frame())
        m_handle->editor()->attach(input->frame());
    // The height field starts from where the model stands; typing another lifts it there.
    model->recomputeBounds();
    m_settings.moveUpHeight = model->boundingBox().isEmpty() ? 0.0f : model->boundingBox().min.z;
    m_handle->editor()->setModel(model);
    m_handle->applySettings(m_settings);
    if (!m_handle->start(model)) {
        QMessageBox::warning(this, tr("Tip"), tr("supportEditorBusy"), QMessageBox::Ok);
        return;
    }
    m_model = model;
    m_sceneAtStart = m_app->scene().models();
    m_edit->setText(tr("endEditSupport"));
    m_handle->applySettings(m_settings);
    OnUpdateUIFromConfig(m_settings);
    emit updateMainEnabled(false);
    emit supdateTotalLayer();
    m_app->requestRepaint();
}

void DSupportWindow::OnEndEditing()
{
    m_handle->stop();
    m_model.reset();
    m_sceneAtStart.clear();
    m_edit->setText(tr("beginEditSupport"));
    emit updateMainEnabled(true);
    emit supdateTotalLayer();
    m_app->sceneChanged();
}

float &DSupportWindow::valueOf(Field which)
{
    switch (which) {
    case TopBallRadius:
        return m_settings.topBallRadius;
    case BottomBallRadius:
        return m_settings.bottomBallRadius;
    case RodTopRadius:
        return m_settings.rodTopRadius;
    case RodBottomRadius:
        return m_settings.rodBottomRadius;
    case MoveUpHeight:
        return m_settings.moveUpHeight;
    case TopX:
        return m_settings.topPoint.x;
    case TopY:
        return m_settings.topPoint.y;
    case TopZ:
        return m_settings.topPoint.z;
    case BottomX:
        return m_settings.bottomPoint.x;
    case BottomY:
        return m_settings.bottomPoint.y;
    case BottomZ:
    case FieldCount:
        break;
    }
    return m_settings.bottomPoint.z;
}

void DSupportWindow::handOver()
{
    Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr;
    if (input && input->frame() && !m_handle->editor()->frame())
        m_handle->editor()->attach(input->frame());
    m_handle->applySettings(m_settings);
}

void DSupportWindow::OnLineEditValueChange(Field which, const QString &value)
{
    if (which < 0 || which >= FieldCount || !selectedIsUsable(false))
        return;
    const QString text = value.simplified();
    if (text.isEmpty())
        return;
    bool ok = false;
    const float number = text.toFloat(&ok);
    // A half-typed number ("-", ".") and sizes that cannot be printed change nothing.
    if (!ok || !std::isfinite(number) || (isRadiusField(which) && number <= 0.0f) ||
        (which == MoveUpHeight && number < 0.0f))
        return;
    valueOf(which) = number;
    handOver();
    emit supdateTotalLayer();
    m_app->requestRepaint();
}

void DSupportWindow::OnLimitAtZAxisChange(bool checked)
{
    m_settings.limitAtZAxis = checked;
    handOver();
}

void DSupportWindow::OnGrowFromFloorChange(bool checked)
{
    m_settings.growFromFloor = checked;
    m_platform->setEnabled(checked);
    handOver();
}

void DSupportWindow::OnIsFloorChange(bool checked)
{
    m_handle->setPlatformPrior(checked);
}

void DSupportWindow::OnUpdateObjectInfo(const std::shared_ptr<DsCylider> &c)
{
    if (!c || !c->top() || !c->bottom())
        return;
    // At equal heights the second end counts as the higher, as the editor applies it.
    const bool bottomHigher = c->bottom()->centre().z >= c->top()->centre().z;
    const auto &higher = bottomHigher ? c->bottom() : c->top();
    const auto &lower = bottomHigher ? c->top() : c->bottom();
    m_settings.topPoint = higher->centre();
    m_settings.bottomPoint = lower->centre();
    m_settings.topBallRadius = higher->radius();
    m_settings.bottomBallRadius = lower->radius();
    m_settings.rodTopRadius = c->topRadius();
    m_settings.rodBottomRadius = c->bottomRadius();
    OnUpdateUIFromConfig(m_settings);
}

void DSupportWindow::OnUpdateUIFromConfig(const ManualSupportSettings &settings)
{
    m_settings = settings;
    {
        const QSignalBlocker limit(m_limit);
        const QSignalBlocker grow(m_grow);
        m_limit->setChecked(settings.limitAtZAxis);
        m_grow->setChecked(settings.growFromFloor);
    }
    m_platform->setEnabled(settings.growFromFloor);
    for (int i = 0; i < FieldCount; ++i)
        m_fields[i]->setText(QStringLiteral("%1").arg(double(valueOf(Field(i)))));
}
