#include "ui/DlpScaleWidget.h"

#include "app/DSharedApp.h"
#include "geometry/Model.h"

#include <QEvent>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>

#include <cmath>

namespace
{

const char *const kSizeTags[3] = {"SizeX", "SizeY", "SizeZ"};
const char *const kFactorTags[3] = {"FactorX", "FactorY", "FactorZ"};
const QString kSubscriber = QStringLiteral("DlpScaleWidget");

QString twoDecimals(double v)
{
    return QString::number(v, 'f', 2);
}

// The field the user types in: the focus widget of its window (also while another window of the
// program, such as the progress window, is the active one).
bool hasKeyboardFocus(const QWidget *field)
{
    return field->hasFocus() || (field->window() && field->window()->focusWidget() == field);
}

} // namespace

DlpScaleWidget::DlpScaleWidget(DSharedApp *app, QWidget *parent) : QFrame(parent), m_app(app)
{
    setObjectName(QStringLiteral("DlpScaleWidget"));
    setStyleSheet(QStringLiteral("DlpScaleWidget{background:#ffffff;border:1px solid #d0d4da;"
                                 "border-radius:6px;} QLineEdit{min-width:70px;}"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(12, 10, 12, 10);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("ScaleLabel"));
    m_title->setStyleSheet(QStringLiteral("font-weight:bold;"));
    grid->addWidget(m_title, 0, 0, 1, 3);
    m_sizeHeader = new QLabel(this);
    m_factorHeader = new QLabel(this);
    grid->addWidget(m_sizeHeader, 1, 1);
    grid->addWidget(m_factorHeader, 1, 2);
    for (int a = 0; a < 3; ++a) {
        m_axis[a] = new QLabel(QString(QChar('X' + a)), this);
        m_size[a] = new QLineEdit(this);
        m_size[a]->setObjectName(QLatin1String(kSizeTags[a]));
        m_factor[a] = new QLineEdit(this);
        m_factor[a]->setObjectName(QLatin1String(kFactorTags[a]));
        grid->addWidget(m_axis[a], 2 + a, 0);
        grid->addWidget(m_size[a], 2 + a, 1);
        grid->addWidget(m_factor[a], 2 + a, 2);
    }
    m_lock = new QPushButton(this);
    m_lock->setObjectName(QStringLiteral("pbLock"));
    m_lock->setIcon(QIcon(QStringLiteral(":/Image/lock.png")));
    m_lock->setFlat(true);
    grid->addWidget(m_lock, 5, 0);
    m_reset = new QPushButton(this);
    m_reset->setObjectName(QStringLiteral("pbReset"));
    grid->addWidget(m_reset, 5, 1, 1, 2);
    m_volumeTitle = new QLabel(this);
    m_volumeTitle->setObjectName(QStringLiteral("VolLabel"));
    m_volume = new QLabel(this);
    m_volume->setObjectName(QStringLiteral("lbVolume"));
    grid->addWidget(m_volumeTitle, 6, 0);
    grid->addWidget(m_volume, 6, 1, 1, 2);

    connect(m_size[0], &QLineEdit::textChanged, this, &DlpScaleWidget::SizeXChanged);
    connect(m_size[1], &QLineEdit::textChanged, this, &DlpScaleWidget::SizeYChanged);
    connect(m_size[2], &QLineEdit::textChanged, this, &DlpScaleWidget::SizeZChanged);
    connect(m_factor[0], &QLineEdit::textChanged, this, &DlpScaleWidget::FactorXChanged);
    connect(m_factor[1], &QLineEdit::textChanged, this, &DlpScaleWidget::FactorYChanged);
    connect(m_factor[2], &QLineEdit::textChanged, this, &DlpScaleWidget::FactorZChanged);
    connect(m_size[0], &QLineEdit::editingFinished, this, &DlpScaleWidget::SizeXEditFinished);
    connect(m_size[1], &QLineEdit::editingFinished, this, &DlpScaleWidget::SizeYEditFinished);
    connect(m_size[2], &QLineEdit::editingFinished, this, &DlpScaleWidget::SizeZEditFinished);
    connect(m_factor[0], &QLineEdit::editingFinished, this, &DlpScaleWidget::FactorXEditFinished);
    connect(m_factor[1], &QLineEdit::editingFinished, this, &DlpScaleWidget::FactorYEditFinished);
    connect(m_factor[2], &QLineEdit::editingFinished, this, &DlpScaleWidget::FactorZEditFinished);
    connect(m_lock, &QPushButton::clicked, this, &DlpScaleWidget::BtLock_ChangeImage);
    connect(m_reset, &QPushButton::clicked, this, &DlpScaleWidget::ScaleReset);
    if (m_app)
        m_app->subscribe(kSubscriber,
                         [this](Orvane3Ds::EAppEvent e, const QString &) { onAppEvent(int(e)); });
    retranslate();
    adjustSize();
}

DlpScaleWidget::~DlpScaleWidget()
{
    if (m_app)
        m_app->events().unsubscribe(kSubscriber);
}

void DlpScaleWidget::retranslate()
{
    m_title->setText(tr("ScaleLabel"));
    m_sizeHeader->setText(tr("sizeMm"));
    m_factorHeader->setText(tr("factor"));
    m_volumeTitle->setText(tr("VolLabel"));
    m_reset->setText(tr("resetScale"));
    m_lock->setToolTip(tr("lockProportions"));
    UpdateScaleUIModelInfo("scale");
}

void DlpScaleWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void DlpScaleWidget::showEvent(QShowEvent *event)
{
    readSelectedModel();
    QFrame::showEvent(event);
}

void DlpScaleWidget::onAppEvent(int event)
{
    // While the panel applies a typed value it refreshes itself without touching that field.
    // Any other change (undo, another model chosen) ends the typing step.
    if (event == Orvane3Ds::SceneChanged && !m_applying) {
        m_typingField = nullptr;
        readSelectedModel();
    }
}

std::shared_ptr<Model> DlpScaleWidget::singleSelected() const
{
    if (!m_app || m_app->scene().selection().size() != 1)
        return {};
    return m_app->scene().currentModel();
}

void DlpScaleWidget::readSelectedModel()
{
    if (auto model = singleSelected()) {
        m_state.readModel(*model);
        UpdateScaleUIModelInfo("scale");
    }
    const bool one = singleSelected() != nullptr;
    for (int a = 0; a < 3; ++a) {
        m_size[a]->setEnabled(one);
        m_factor[a]->setEnabled(one);
    }
    m_reset->setEnabled(one);
}

void DlpScaleWidget::UpdateScaleUIModelInfo(std::string tag)
{
    auto model = singleSelected();
    if (!model)
        return;
    m_refreshing = true;
    const bool all = tag == "scale";
    for (int a = 0; a < 3; ++a) {
        if (all || tag != kSizeTags[a]) {
            QSignalBlocker block(m_size[a]);
            m_size[a]->setText(twoDecimals(m_state.current[a]));
            m_size[a]->setCursorPosition(1);
        }
    }
    const double cm3 = m_state.volume / 1000.0;
    m_volume->setText(cm3 < 0.01 ? QStringLiteral("<0.01 cm^3")
                                 : QStringLiteral("%1 cm^3").arg(twoDecimals(cm3)));
    if (m_state.reload) {
        for (int a = 0; a < 3; ++a)
            if (m_state.factors[a] != 0.0f)
                m_state.reference[a] = m_state.current[a] / m_state.factors[a];
        m_state.reload = false;
    }
    for (int a = 0; a < 3; ++a) {
        if (all || tag != kFactorTags[a]) {
            QSignalBlocker block(m_factor[a]);
            const float ref = m_state.reference[a];
            m_factor[a]->setText(twoDecimals(ref != 0.0f ? m_state.current[a] / ref : 1.0));
            m_factor[a]->setCursorPosition(1);
        }
    }
    for (int a = 0; a < 3; ++a) {
        bool ok = false;
        const float f = m_factor[a]->text().toFloat(&ok);
        if (ok && f > 0.0f)
            m_state.factors[a] = f;
    }
    m_state.writeModel(*model);
    m_refreshing = false;
    if (m_app)
        m_app->requestRepaint();
}

void DlpScaleWidget::BtLock_ChangeImage()
{
    m_lock->setIcon(QIcon(m_state.locked ? QStringLiteral(":/Image/unlock.png")
                                         : QStringLiteral(":/Image/lock.png")));
    m_state.locked = !m_state.locked;
}

bool DlpScaleWidget::PositiveRealNumber(QLineEdit *field)
{
    if (!field || field->text().isEmpty())
        return false;
    static const QRegularExpression pattern(QStringLiteral("^[0-9]+\\.?[0-9]{0,7}$"));
    QString text = field->text();
    if (!pattern.match(text).hasMatch()) {
        text.chop(1);
        QSignalBlocker block(field);
        field->setText(text);
    }
    if (text.isEmpty())
        return false;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value != 0.0;
}

bool DlpScaleWidget::readFields(Vec3f *sizes, Vec3f *factors) const
{
    for (int a = 0; a < 3; ++a) {
        if (m_size[a]->text().isEmpty() || m_factor[a]->text().isEmpty())
            return false;
        (*sizes)[a] = m_size[a]->text().toFloat();
        (*factors)[a] = m_factor[a]->text().toFloat();
    }
    return true;
}

bool DlpScaleWidget::scaleBy(const Vec3f &factors, QLineEdit *typedInto)
{
    auto model = singleSelected();
    if (!model || !m_app)
        return false;
    m_applying = true;
    const bool continuing = typedInto && typedInto == m_typingField;
    const bool done = m_app->scaleModel(model, factors.x, factors.y, factors.z, continuing);
    m_applying = false;
    m_typingField = done ? typedInto : nullptr;
    if (done) {
        const Vec3f reference = m_state.reference;
        const bool locked = m_state.locked;
        m_state.readModel(*model);
        // The reference size stays the size before any scaling.
        m_state.reference = reference;
        m_state.locked = locked;
        m_state.reload = false;
    }
    return done;
}

void DlpScaleWidget::sizeChanged(int axis)
{
    QLineEdit *field = m_size[axis];
    if (m_refreshing || !PositiveRealNumber(field) || !hasKeyboardFocus(field))
        return;
    Vec3f sizes;
    Vec3f factors;
    if (!readFields(&sizes, &factors) || !(m_state.current[axis] > 0.0f))
        return;
    const float v = field->text().toFloat();
    Vec3f scale{1.0f, 1.0f, 1.0f};
    if (m_state.locked) {
        const float r = v / m_state.current[axis];
        scale = {r, r, r};
    } else {
        scale[axis] = v / m_state.current[axis];
    }
    if (scaleBy(scale, field))
        UpdateScaleUIModelInfo(kSizeTags[axis]);
    field->setFocus();
}

void DlpScaleWidget::factorChanged(int axis)
{
    QLineEdit *field = m_factor[axis];
    if (m_refreshing || !PositiveRealNumber(field) || !hasKeyboardFocus(field))
        return;
    Vec3f sizes;
    Vec3f factors;
    if (!readFields(&sizes, &factors) || !(m_state.current[axis] > 0.0f))
        return;
    const float n = field->text().toFloat() * m_state.reference[axis];
    if (!(n > 0.0f))
        return;
    // Against the model's exact size, not the two-decimal one shown: typing a factor digit by
    // digit must end at factor x reference, not drift by the rounding of every step.
    const float r = n / m_state.current[axis];
    Vec3f scale{1.0f, 1.0f, 1.0f};
    if (m_state.locked)
        scale = {r, r, r};
    else
        scale[axis] = r;
    if (scaleBy(scale, field))
        UpdateScaleUIModelInfo(kFactorTags[axis]);
    field->setFocus();
}

void DlpScaleWidget::SizeXChanged(QString)
{
    sizeChanged(0);
}
void DlpScaleWidget::SizeYChanged(QString)
{
    sizeChanged(1);
}
void DlpScaleWidget::SizeZChanged(QString)
{
    sizeChanged(2);
}
void DlpScaleWidget::FactorXChanged(QString)
{
    factorChanged(0);
}
void DlpScaleWidget::FactorYChanged(QString)
{
    factorChanged(1);
}
void DlpScaleWidget::FactorZChanged(QString)
{
    factorChanged(2);
}

void DlpScaleWidget::editFinished(QLineEdit *field, bool size, int axis)
{
    // Typing into the field again starts a step of its own.
    if (field == m_typingField)
        m_typingField = nullptr;
    if (!field->text().isEmpty() && PositiveRealNumber(field))
        return;
    // An empty (or zero) field gets the value it stands for back.
    QSignalBlocker block(field);
    const float ref = m_state.reference[axis];
    field->setText(twoDecimals(size ? m_state.current[axis]
                                    : (ref != 0.0f ? m_state.current[axis] / ref : 1.0)));
}

void DlpScaleWidget::SizeXEditFinished()
{
    editFinished(m_size[0], true, 0);
}
void DlpScaleWidget::SizeYEditFinished()
{
    editFinished(m_size[1], true, 1);
}
void DlpScaleWidget::SizeZEditFinished()
{
    editFinished(m_size[2], true, 2);
}
void DlpScaleWidget::FactorXEditFinished()
{
    editFinished(m_factor[0], false, 0);
}
void DlpScaleWidget::FactorYEditFinished()
{
    editFinished(m_factor[1], false, 1);
}
void DlpScaleWidget::FactorZEditFinished()
{
    editFinished(m_factor[2], false, 2);
}

void DlpScaleWidget::ScaleReset()
{
    auto model = singleSelected();
    if (!model)
        return;
    bool changed = false;
    for (int a = 0; a < 3; ++a)
        if (m_factor[a]->text().toFloat() != 1.0f)
            changed = true;
    if (!changed)
        return;
    Vec3f scale{1.0f, 1.0f, 1.0f};
    for (int a = 0; a < 3; ++a)
        if (m_state.current[a] > 0.0f && m_state.reference[a] > 0.0f)
            scale[a] = m_state.reference[a] / m_state.current[a];
    if (!scaleBy(scale))
        return;
    m_state.current = m_state.reference;
    m_state.locked = true;
    m_lock->setIcon(QIcon(QStringLiteral(":/Image/lock.png")));
    UpdateScaleUIModelInfo("scale");
}
