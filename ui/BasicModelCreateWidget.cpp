#include "ui/BasicModelCreateWidget.h"

#include "app/DSharedApp.h"
#include "geometry/DModelOperator.h"
#include "geometry/Model.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>

BasicModelCreateWidget::BasicModelCreateWidget(DSharedApp *app, QWidget *parent)
    : QDialog(parent), m_app(app)
{
    setObjectName(QStringLiteral("BasicModelCreateWidget"));
    auto *grid = new QGridLayout(this);
    m_typeLabel = new QLabel(this);
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("cbModelType"));
    m_type->addItem(QString(), QStringLiteral("rectangle"));
    m_type->addItem(QString(), QStringLiteral("other"));
    m_lengthLabel = new QLabel(this);
    m_widthLabel = new QLabel(this);
    m_heightLabel = new QLabel(this);
    m_length = new QLineEdit(this);
    m_length->setObjectName(QStringLiteral("leLength"));
    m_width = new QLineEdit(this);
    m_width->setObjectName(QStringLiteral("leWidth"));
    m_height = new QLineEdit(this);
    m_height->setObjectName(QStringLiteral("leHeight"));
    grid->addWidget(m_typeLabel, 0, 0);
    grid->addWidget(m_type, 0, 1);
    grid->addWidget(m_lengthLabel, 1, 0);
    grid->addWidget(m_length, 1, 1);
    grid->addWidget(m_widthLabel, 2, 0);
    grid->addWidget(m_width, 2, 1);
    grid->addWidget(m_heightLabel, 3, 0);
    grid->addWidget(m_height, 3, 1);
    auto *buttons = new QHBoxLayout;
    m_create = new QPushButton(this);
    m_create->setObjectName(QStringLiteral("pbCreate"));
    m_create->setDefault(true);
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("pbClose"));
    buttons->addStretch();
    buttons->addWidget(m_create);
    buttons->addWidget(m_close);
    grid->addLayout(buttons, 4, 0, 1, 2);
    connect(m_create, &QPushButton::clicked, this, &BasicModelCreateWidget::onCreateModel);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_type, &QComboBox::currentTextChanged, this,
            &BasicModelCreateWidget::onModelTypeChanged);
    retranslate();
}

void BasicModelCreateWidget::retranslate()
{
    setWindowTitle(tr("Form"));
    m_typeLabel->setText(tr("modelType"));
    m_type->setItemText(0, tr("rectangle"));
    m_type->setItemText(1, tr("other"));
    m_lengthLabel->setText(tr("Length"));
    m_widthLabel->setText(tr("Width"));
    m_heightLabel->setText(tr("Height"));
    m_create->setText(tr("Create"));
    m_close->setText(tr("Close"));
}

void BasicModelCreateWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void BasicModelCreateWidget::warn(const char *title, const char *text)
{
    if (m_warning) {
        m_warning(QLatin1String(title), QLatin1String(text));
        return;
    }
    QMessageBox::warning(this, tr(title), tr(text), QMessageBox::Ok);
}

void BasicModelCreateWidget::onModelTypeChanged(QString)
{
    const bool rectangle = m_type->currentData().toString() == QLatin1String("rectangle");
    for (QWidget *w : {static_cast<QWidget *>(m_length), static_cast<QWidget *>(m_width),
                       static_cast<QWidget *>(m_height)})
        w->setEnabled(rectangle);
}

void BasicModelCreateWidget::onCreateModel()
{
    if (m_type->currentData().toString() == QLatin1String("rectangle")) {
        onCreateRegctangle();
        return;
    }
    // Only blocks have a construction rule.
    warn("warning", "otherModelNotOffered");
}

std::shared_ptr<Model> BasicModelCreateWidget::makeRectangle(int length, int width, double height)
{
    if (length <= 0 || width <= 0 || !(height > 0.0) || !std::isfinite(height))
        return {};
    // Corners in micrometres, as the outline extrusion of the support base takes them.
    const float hx = float(length * 1000 / 2) / 1000.0f;
    const float hy = float(width * 1000 / 2) / 1000.0f;
    const float h = float(height);
    auto model = std::make_shared<Model>();
    model->vertices() = {{-hx, -hy, 0}, {hx, -hy, 0}, {hx, hy, 0}, {-hx, hy, 0},
                         {-hx, -hy, h}, {hx, -hy, h}, {hx, hy, h}, {-hx, hy, h}};
    // Wound counter-clockwise seen from outside.
    model->faces() = {{{0, 2, 1}}, {{0, 3, 2}}, {{4, 5, 6}}, {{4, 6, 7}}, {{0, 1, 5}}, {{0, 5, 4}},
                      {{1, 2, 6}}, {{1, 6, 5}}, {{2, 3, 7}}, {{2, 7, 6}}, {{3, 0, 4}}, {{3, 4, 7}}};
    model->setIndexed(true);
    model->computeDerivedData();
    model->setSize(model->extent());
    model->setBaseName(QStringLiteral("rectangle"));
    return model;
}

void BasicModelCreateWidget::onCreateRegctangle()
{
    const QString l = m_length->text().trimmed();
    const QString w = m_width->text().trimmed();
    const QString h = m_height->text().trimmed();
    if (l.isEmpty() || w.isEmpty() || h.isEmpty()) {
        warn("warning", "invalid rectangle parameter");
        return;
    }
    // A text that is not a whole number counts as 0, and a block needs a positive size.
    auto model = makeRectangle(l.toInt(), w.toInt(), h.toDouble());
    if (!model) {
        warn("warning", "invalid rectangle parameter");
        return;
    }
    if (!m_app)
        return;
    DModelOperator op(m_app->platformSize());
    const ModelList added{model};
    m_app->scene().clearSelection();
    op.layout(added, 0);
    op.placeBeside(m_app->scene().models(), added);
    m_app->addModelsToScene(added);
    accept();
}
