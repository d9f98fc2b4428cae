#include "ui/DlpSupportWidget.h"

#include "geometry/PlatformSize.h"
#include "supports/OverhangFinder.h"
#include "supports/SdSupportSettingManage.h"
#include "supports/SupportGenerator.h"

#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QVBoxLayout>

#include <cmath>

namespace
{

const char *const kKeys[DlpSupportWidget::FieldCount] = {
    "overhangDiameter", "linkPointDiameter", "supportGaps",       "supportDiameter",
    "supportHeight",    "supportBaseHeight", "supportBaseExtern",
};

const char *const kLabels[DlpSupportWidget::FieldCount] = {
    QT_TRANSLATE_NOOP("DlpSupportWidget", "overhangDiameterLabel"),
    QT_TRANSLATE_NOOP("DlpSupportWidget", "linkPointDiameterLabel"),
    QT_TRANSLATE_NOOP("DlpSupportWidget", "supportGapsLabel"),
    QT_TRANSLATE_NOOP("DlpSupportWidget", "supportDiameterLabel"),
    QT_TRANSLATE_NOOP("DlpSupportWidget", "supportHeightLabel"),
    QT_TRANSLATE_NOOP("DlpSupportWidget", "supportBaseHeightLabel"),
    QT_TRANSLATE_NOOP("DlpSupportWidget", "supportBaseExternLabel"),
};

// More support points than this on the whole platform would make generation run away.
constexpr double kMaxPlatformPoints = 1.0e6;

DlpSupportWidget::SaveFileNameProvider &saveFileNameProvider()
{
    static DlpSupportWidget::SaveFileNameProvider provider;
    return provider;
}

} // namespace

QString DlpSupportWidget::unusableReason(const SupportParameters &given)
{
    // Only values that make generation run away are refused here; which method is available is
    // told by the generate job.
    SupportParameters p = given;
    p.method = 0;
    QString reason;
    if (!OverhangFinder::checkParameters(p, &reason))
        return reason;
    const PlatformSize platform;
    Box3f box;
    box.min = Point3f{-platform.x / 2.0f, -platform.y / 2.0f, 0.0f};
    box.max = Point3f{platform.x / 2.0f, platform.y / 2.0f, platform.z};
    if (!SupportGenerator::checkParameters(p, box, &reason))
        return reason;
    const double area = double(platform.x) * double(platform.y);
    const double gap = double(p.supportGaps);
    if (area / (gap * gap) > kMaxPlatformPoints)
        return QStringLiteral("The support gap of %1 mm is too small: supports would be placed at "
                              "more than a million points.")
            .arg(gap);
    return {};
}

void DlpSupportWidget::setSaveFileNameProvider(SaveFileNameProvider provider)
{
    saveFileNameProvider() = std::move(provider);
}

DlpSupportWidget::DlpSupportWidget(const QString &profileDirectory, ISupportParameterSink *sink,
                                   QWidget *parent)
    : QDialog(parent), m_directory(profileDirectory), m_sink(sink)
{
    setObjectName(QStringLiteral("DlpSupportWidget"));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    const char *names[FieldCount] = {
        "leOverhangDiameter", "leLinkPointDiameter", "leSupportGaps",      "leSupportDiameter",
        "leSupportHeight",    "leSupportBaseHeight", "leSupportBaseExtern"};
    m_methodLabel = new QLabel(this);
    m_methodA = new QRadioButton(this);
    m_methodA->setObjectName(QStringLiteral("rbMethodA"));
    m_methodB = new QRadioButton(this);
    m_methodB->setObjectName(QStringLiteral("rbMethodB"));
    m_methodA->setChecked(true);
    auto *methods = new QHBoxLayout;
    methods->addWidget(m_methodA);
    methods->addWidget(m_methodB);
    grid->addWidget(m_methodLabel, 0, 0);
    grid->addLayout(methods, 0, 1);
    for (int i = 0; i < FieldCount; ++i) {
        m_labels[i] = new QLabel(this);
        m_fields[i] = new QLineEdit(this);
        m_fields[i]->setObjectName(QLatin1String(names[i]));
        grid->addWidget(m_labels[i], i + 1, 0);
        grid->addWidget(m_fields[i], i + 1, 1);
        connect(m_fields[i], &QLineEdit::textChanged, this,
                &DlpSupportWidget::OnLineEditValueChange);
    }
    m_hasSupports = new QCheckBox(this);
    m_hasSupports->setObjectName(QStringLiteral("cbHasSupports"));
    m_addBase = new QCheckBox(this);
    m_addBase->setObjectName(QStringLiteral("cbAddSupportBase"));
    grid->addWidget(m_hasSupports, FieldCount + 1, 0, 1, 2);
    grid->addWidget(m_addBase, FieldCount + 2, 0, 1, 2);

    auto *buttons = new QHBoxLayout;
    m_apply = new QPushButton(this);
    m_apply->setObjectName(QStringLiteral("pbApply"));
    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("pbSave"));
    m_discard = new QPushButton(this);
    m_discard->setObjectName(QStringLiteral("pbDiscard"));
    buttons->addWidget(m_apply);
    buttons->addWidget(m_save);
    buttons->addWidget(m_discard);
    layout->addLayout(buttons);
    m_apply->setDefault(true);
    connect(m_apply, &QPushButton::clicked, this, &DlpSupportWidget::onApplyParameter);
    connect(m_save, &QPushButton::clicked, this, &DlpSupportWidget::onSaveParameter);
    connect(m_discard, &QPushButton::clicked, this, &DlpSupportWidget::onDiscard);
    retranslate();
}

void DlpSupportWidget::retranslate()
{
    setWindowTitle(tr("supportParaModify"));
    m_methodLabel->setText(tr("supportMethodLabel"));
    m_methodA->setText(tr("Method A"));
    m_methodB->setText(tr("Method B"));
    for (int i = 0; i < FieldCount; ++i)
        m_labels[i]->setText(tr(kLabels[i]));
    m_hasSupports->setText(tr("isHasSupportsLabel"));
    m_addBase->setText(tr("isAddSupportBaseLabel"));
    m_apply->setText(tr("applyPara"));
    m_save->setText(tr("savePara"));
    m_discard->setText(tr("discardPara"));
}

void DlpSupportWidget::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void DlpSupportWidget::openProfile(const QString &fileName)
{
    m_file = fileName;
    QSettings ini(QStringLiteral("%1/%2").arg(m_directory, fileName), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("support"));
    for (int i = 0; i < FieldCount; ++i)
        m_fields[i]->setText(ini.value(QLatin1String(kKeys[i])).toString());
    const QString method = ini.value(QStringLiteral("method")).toString().trimmed().toLower();
    if (method == QLatin1String("a"))
        m_methodA->setChecked(true);
    else if (method == QLatin1String("b"))
        m_methodB->setChecked(true);
    auto setFlag = [&ini](QCheckBox *box, const char *key) {
        const QString value = ini.value(QLatin1String(key)).toString().trimmed().toLower();
        if (value == QLatin1String("true"))
            box->setChecked(true);
        else if (value == QLatin1String("false"))
            box->setChecked(false);
    };
    setFlag(m_hasSupports, "isHasSupports");
    setFlag(m_addBase, "isAddSupportBase");
}

void DlpSupportWidget::OnLineEditValueChange(const QString &value)
{
    auto *edit = qobject_cast<QLineEdit *>(sender());
    if (!edit)
        return;
    static const QRegularExpression allowed(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9]+\\.?[0-9]{0,7}")));
    if (!value.isEmpty() && !allowed.match(value).hasMatch()) {
        // Changes the text again, which comes back here until the text is acceptable.
        edit->setText(value.left(value.size() - 1));
    }
}

void DlpSupportWidget::warn(const QString &title, const QString &text)
{
    QMessageBox::warning(this, title, text, QMessageBox::Ok);
}

bool DlpSupportWidget::checkFields()
{
    for (Field f : {OverhangDiameter, LinkPointDiameter, SupportGaps, SupportDiameter})
        if (m_fields[f]->text().trimmed().isEmpty())
            return false;
    const double overhang = m_fields[OverhangDiameter]->text().toDouble();
    const double link = m_fields[LinkPointDiameter]->text().toDouble();
    const double support = m_fields[SupportDiameter]->text().toDouble();
    if (link > overhang) {
        warn(tr("waring"), tr("linkPointRadiusBigThanOverhangRadius"));
        m_fields[LinkPointDiameter]->clear();
        return false;
    }
    if (link > support) {
        warn(tr("waring"), tr("linkPointRadiusLittleThanSupportRadius"));
        m_fields[LinkPointDiameter]->clear();
        return false;
    }
    for (Field f : {SupportHeight, BaseHeight, BaseExtern})
        if (m_fields[f]->text().trimmed().isEmpty())
            return false;
    return true;
}

SupportParameters DlpSupportWidget::fieldParameters() const
{
    SupportParameters p;
    auto value = [this](Field f) { return m_fields[f]->text().toFloat(); };
    p.method = m_methodA->isChecked() ? 0 : 1;
    p.overhangRadius = value(OverhangDiameter) / 2.0f;
    p.linkPointRadius = value(LinkPointDiameter) / 2.0f;
    p.supportGaps = value(SupportGaps);
    p.supportRadius = value(SupportDiameter) / 2.0f;
    p.supportHeight = value(SupportHeight);
    p.baseHeight = value(BaseHeight);
    p.baseExtern = value(BaseExtern);
    p.hasSupports = m_hasSupports->isChecked();
    p.baseMode = m_addBase->isChecked() ? 1 : 2;
    p.profileName = m_file.toUtf8();
    return p;
}

bool DlpSupportWidget::writeProfile(const QString &fileName)
{
    if (!checkFields())
        return false;
    QString name = QFileInfo(fileName).fileName();
    if (name.isEmpty())
        return false;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".ini");
    QDir().mkpath(m_directory);
    QSettings ini(QStringLiteral("%1/%2").arg(m_directory, name), QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("support"));
    ini.setValue(QStringLiteral("method"),
                 m_methodA->isChecked() ? QStringLiteral("A") : QStringLiteral("B"));
    for (int i = 0; i < FieldCount; ++i)
        ini.setValue(QLatin1String(kKeys[i]), m_fields[i]->text());
    auto flag = [](bool on) { return on ? QStringLiteral("true") : QStringLiteral("false"); };
    ini.setValue(QStringLiteral("isHasSupports"), flag(m_hasSupports->isChecked()));
    ini.setValue(QStringLiteral("isAddSupportBase"), flag(m_addBase->isChecked()));
    ini.endGroup();
    ini.sync();
    if (ini.status() != QSettings::NoError)
        return false;
    m_file = name;
    return true;
}

void DlpSupportWidget::onApplyParameter()
{
    if (!checkFields()) {
        warn(tr("Tip"), tr("parameterIsEmpty"));
        emit sParametersApplied(false);
        return;
    }
    const SupportParameters params = fieldParameters();
    // Values that would make generation run away are refused with the reason, before anything
    // is written or used.
    const QString reason = unusableReason(params);
    if (!reason.isEmpty()) {
        warn(tr("Tip"), QStringLiteral("%1\n%2").arg(tr("parameterUnusable"), reason));
        emit sParametersApplied(false);
        return;
    }
    if (!writeProfile(m_file)) {
        warn(tr("Tip"), tr("parameterIsEmpty"));
        emit sParametersApplied(false);
        return;
    }
    if (m_sink)
        m_sink->setSupportParameters(fieldParameters());
    emit sParametersApplied(true);
    accept();
}

void DlpSupportWidget::onSaveParameter()
{
    const QString title = tr("Support profile...");
    const QString proposed = QStringLiteral("%1/%2").arg(m_directory, m_file);
    const QString filter = tr("Support Profile Files (*.ini)");
    const QString chosen = saveFileNameProvider()
                               ? saveFileNameProvider()(title, proposed, filter)
                               : QFileDialog::getSaveFileName(this, title, proposed, filter);
    if (chosen.isEmpty())
        return;
    if (!checkFields()) {
        warn(tr("Tip"), tr("parameterIsEmpty"));
        return;
    }
    const QString reason = unusableReason(fieldParameters());
    if (!reason.isEmpty()) {
        warn(tr("Tip"), QStringLiteral("%1\n%2").arg(tr("parameterUnusable"), reason));
        return;
    }
    if (!writeProfile(chosen)) {
        warn(tr("Tip"), tr("parameterIsEmpty"));
        return;
    }
    QMessageBox::information(this, tr("Tip"), tr("parameterIsSaveSucess"), QMessageBox::Ok);
    emit supdateParaFileList(m_file);
}

void DlpSupportWidget::onDiscard()
{
    reject();
}
