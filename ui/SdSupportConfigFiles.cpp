#include "ui/SdSupportConfigFiles.h"

#include "app/CSupportApp.h"
#include "app/Command.h"
#include "app/DSharedApp.h"
#include "geometry/Model.h"
#include "render/COrvaneFrame.h"
#include "render/DViewInput.h"
#include "render/OverhangEditor.h"
#include "supports/DDlpSupportSettingManage.h"
#include "supports/SupportProfiles.h"
#include "ui/DlpSupportWidget.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

const QString kSubscriber = QStringLiteral("SdSupportConfigFiles");

} // namespace

SdSupportConfigFiles::SdSupportConfigFiles(DSharedApp *app, QWidget *parent)
    : QFrame(parent), m_app(app),
      m_settings(std::make_unique<DDlpSupportSettingManage>(app->userProfilesDir()))
{
    setObjectName(QStringLiteral("SdSupportConfigFiles"));
    setStyleSheet(QStringLiteral("SdSupportConfigFiles{background:#ffffff;border:1px solid #d0d4da;"
                                 "border-radius:4px;}"));
    auto *layout = new QVBoxLayout(this);
    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lbSupportTitle"));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("cbSupportConfigFiles"));
    m_list->setMinimumWidth(180);
    m_modify = new QPushButton(this);
    m_modify->setObjectName(QStringLiteral("pbModifySupportPara"));
    m_generate = new QPushButton(this);
    m_generate->setObjectName(QStringLiteral("pbGenerateSupport"));
    m_edit = new QPushButton(this);
    m_edit->setObjectName(QStringLiteral("pbEditSupport"));
    layout->addWidget(m_title);
    layout->addWidget(m_list);
    layout->addWidget(m_modify);
    layout->addWidget(m_generate);
    layout->addWidget(m_edit);
    for (QPushButton *b : {m_modify, m_generate, m_edit})
        b->setEnabled(false);

    connect(m_list, QOverload<int>::of(&QComboBox::activated), this,
            &SdSupportConfigFiles::onCurrentConfigChange);
    connect(m_generate, &QPushButton::clicked, this, &SdSupportConfigFiles::onGenerateSupport);
    connect(m_edit, &QPushButton::clicked, this, &SdSupportConfigFiles::onEditSupport);
    connect(m_modify, &QPushButton::clicked, this, &SdSupportConfigFiles::onModifySupportParameter);

    m_app->subscribe(kSubscriber, [this](Orvane3Ds::EAppEvent event, const QString &) {
        if (event == Orvane3Ds::SceneChanged || event == Orvane3Ds::SupportState)
            QMetaObject::invokeMethod(
                this, [this] { followCurrentModel(); }, Qt::QueuedConnection);
    });
    refreshProfiles();
    retranslate();
    setFixedWidth(240);
    adjustSize();
    SetSupportApp(&app->supportApp());
}

SdSupportConfigFiles::~SdSupportConfigFiles()
{
    m_app->events().unsubscribe(kSubscriber);
    if (m_support) {
        m_support->setLiftCallback({});
        m_support->setOverhangsReadyCallback({});
        m_support->setSupportsReadyCallback({});
        m_support->setLowerCallback({});
        m_support->setStateCallback({});
        m_support->setEditorCallback({});
    }
    if (m_overhangEditor)
        if (Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr)
            input->remove(m_overhangEditor);
}

void SdSupportConfigFiles::retranslate()
{
    m_title->setText(tr("supportTitle"));
    if (m_list->count() > 0)
        m_list->setItemText(0, tr("Select support setting"));
    m_modify->setText(tr("ModifySupportPara"));
    setGenerateText(m_removeText);
    m_edit->setText(m_stopText ? tr("StopEditSupport") : tr("StartEditSupport"));
}

void SdSupportConfigFiles::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QFrame::changeEvent(event);
}

void SdSupportConfigFiles::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    followCurrentModel();
}

void SdSupportConfigFiles::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    // The panel itself was closed (another panel was chosen): the session ends the way the edit
    // button ends it, so the edited points stay and get their supports. A hidden window (another
    // tab, a minimised window) leaves the session running.
    if (isHidden() && m_support && m_support->isEditing())
        stopEditing();
}

void SdSupportConfigFiles::setGenerateText(bool remove)
{
    m_removeText = remove;
    m_generate->setText(remove ? tr("RemoveSupport") : tr("GenerateSupport"));
}

void SdSupportConfigFiles::refreshProfiles()
{
    const QString current = m_list->currentIndex() > 0 ? m_list->currentText() : QString();
    m_list->clear();
    m_list->addItem(tr("Select support setting"));
    m_list->addItems(listSupportProfiles(m_app->userProfilesDir()));
    const int index = current.isEmpty() ? 0 : m_list->findText(current);
    m_list->setCurrentIndex(index < 0 ? 0 : index);
}

void SdSupportConfigFiles::SetSupportApp(Orvane3Ds::CSupportApp *supportApp)
{
    if (m_support || !supportApp)
        return;
    m_support = supportApp;
    m_settings->setSupportApp(supportApp);
    // The support application calls these on the interface thread.
    supportApp->setLiftCallback([this] { ModelUp(); });
    supportApp->setOverhangsReadyCallback([this] { AddFindOverhang(); });
    supportApp->setSupportsReadyCallback([this] { AddSupport(); });
    supportApp->setLowerCallback([this] { ModelDown(); });
    supportApp->setStateCallback([this](int type, int count) { onSupportState(type, count); });
    supportApp->setEditorCallback(
        [this](const std::shared_ptr<Model> &model, bool on) { showOverhangEditor(model, on); });
    connect(supportApp, &Orvane3Ds::CSupportApp::jobFinished, this,
            [this](bool ok, const QString &error) {
                if (ok || error == QLatin1String("Canceled"))
                    return;
                QMessageBox::warning(this, tr("Tip"),
                                     QStringLiteral("%1\n%2").arg(tr("supportJobFailed"), error),
                                     QMessageBox::Ok);
            });
}

void SdSupportConfigFiles::ModelUp()
{
    if (m_support)
        m_support->modelUp();
}

void SdSupportConfigFiles::AddFindOverhang()
{
    if (m_support)
        m_support->addFindOverhang();
}

void SdSupportConfigFiles::AddSupport()
{
    if (m_support)
        m_support->addSupport();
}

void SdSupportConfigFiles::ModelDown()
{
    if (m_support)
        m_support->modelDown();
}

void SdSupportConfigFiles::onSupportState(int type, int count)
{
    struct Row {
        bool panel, gene, edit;
        const char *geneName, *editName;
        bool mainEnabled;
    };
    static const Row rows[6] = {
        {false, false, false, "", "", false}, {true, true, true, "remove", "", true},
        {true, true, true, "gene", "", true}, {true, false, true, "", "stop", false},
        {true, false, false, "", "", false},  {true, true, true, "", "start", true},
    };
    if (type < 0 || type > 5)
        return;
    const Row &row = rows[type];
    m_working = type == 0 || type == 4;
    if (type == 1)
        m_present = true;
    else if (type == 2)
        m_present = false;
    if (type == 3)
        m_editing = true;
    else if (type == 4 || type == 5)
        m_editing = false;
    const QString geneName = QLatin1String(row.geneName);
    const QString editName = QLatin1String(row.editName);
    QMetaObject::invokeMethod(
        this,
        [this, row, geneName, editName] {
            onUpdateButtonText(row.panel, row.gene, row.edit, geneName, editName);
        },
        Qt::QueuedConnection);
    CallMainEnabled(count, row.mainEnabled);
}

void SdSupportConfigFiles::CallMainEnabled(int num, bool enabled)
{
    emit updateMainEnabled(num, enabled);
}

void SdSupportConfigFiles::onUpdateButtonText(bool enabled, bool geneEnbale, bool editEnable,
                                              const QString &geneName, const QString &editName)
{
    setEnabled(enabled);
    // Without a chosen profile the buttons stay off whatever the state says.
    const bool chosen = m_list->currentIndex() > 0;
    m_generate->setEnabled(geneEnbale && chosen);
    m_edit->setEnabled(editEnable && chosen);
    m_modify->setEnabled(chosen && !m_working && !m_editing);
    if (geneName == QLatin1String("gene"))
        setGenerateText(false);
    else if (geneName == QLatin1String("remove"))
        setGenerateText(true);
    if (editName == QLatin1String("stop")) {
        m_stopText = true;
        m_edit->setText(tr("StopEditSupport"));
    } else if (editName == QLatin1String("start")) {
        m_stopText = false;
        m_edit->setText(tr("StartEditSupport"));
    }
    emit updateMainUIName(m_generate->text(), m_edit->text());
}

void SdSupportConfigFiles::onChangeBtnText(bool has)
{
    m_present = !has;
    setGenerateText(!has);
}

void SdSupportConfigFiles::followCurrentModel()
{
    if (m_working || m_editing)
        return;
    const auto model = m_app->scene().currentModel();
    const bool present = model && (model->support() || !model->overhangs().empty());
    m_present = present;
    setGenerateText(present);
}

void SdSupportConfigFiles::onCurrentConfigChange(int index)
{
    const bool chosen = index > 0;
    if (!chosen) {
        for (QPushButton *b : {m_modify, m_generate, m_edit})
            b->setEnabled(false);
        m_list->setToolTip(QString());
        return;
    }
    m_valid = m_settings->loadProfile(m_list->itemText(index));
    // A profile that reads well but would make generation run away is refused like the
    // dialog's apply refuses it; the reason a profile was refused stays at hand on the list.
    const QString unusable =
        m_valid ? DlpSupportWidget::unusableReason(m_settings->parameters()) : QString();
    if (!unusable.isEmpty())
        m_valid = false;
    m_list->setToolTip(m_valid ? QString()
                               : (unusable.isEmpty() ? m_settings->errorString() : unusable));
    for (QPushButton *b : {m_modify, m_generate, m_edit})
        b->setEnabled(true);
}

bool SdSupportConfigFiles::currentIsSlc() const
{
    const auto model = m_app->scene().currentModel();
    return model && model->sourceKind() == SourceKind::SlcContours;
}

bool SdSupportConfigFiles::refuseForModel(const char *slcText)
{
    if (currentIsSlc()) {
        QMessageBox box(QMessageBox::Warning, tr("Tip"), tr(slcText), QMessageBox::NoButton, this);
        box.addButton(tr("OK"), QMessageBox::AcceptRole);
        box.exec();
        return true;
    }
    if (!m_valid) {
        QMessageBox box(QMessageBox::Warning, tr("Tip"), tr("paraIsValid,modifyPara"),
                        QMessageBox::NoButton, this);
        box.addButton(tr("ok"), QMessageBox::AcceptRole);
        box.exec();
        return true;
    }
    if (!m_app->scene().currentModel()) {
        QMessageBox::warning(this, tr("Tip"), tr("noModelSelected"), QMessageBox::Ok);
        return true;
    }
    return false;
}

void SdSupportConfigFiles::onGenerateSupport()
{
    if (!m_support || refuseForModel("cannotGenerateSupport"))
        return;
    if (m_present) {
        QMessageBox box(QMessageBox::Warning, tr("wfWarmingTitle"), tr("wfIsDeleteSupport"),
                        QMessageBox::NoButton, this);
        QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
        box.addButton(tr("NO"), QMessageBox::RejectRole);
        box.exec();
        if (box.clickedButton() != ok)
            return;
        m_present = false;
        m_support->removeSupports(true, true);
        return;
    }
    m_present = true;
    if (!m_support->generate())
        m_present = false;
}

void SdSupportConfigFiles::onEditSupport()
{
    if (m_support && m_support->isEditing()) {
        stopEditing();
        return;
    }
    if (!m_support || refuseForModel("cannotEditSupport") || !m_support->beginEditing())
        return;
    m_app->requestRepaint();
    emit supdateTotalLayer();
}

void SdSupportConfigFiles::stopEditing()
{
    if (!m_support || !m_support->isEditing())
        return;
    m_support->endEditing();
    m_app->requestRepaint();
    emit supdateTotalLayer();
}

void SdSupportConfigFiles::showOverhangEditor(const std::shared_ptr<Model> &model, bool on)
{
    Orvane3Ds::COrvaneFrame *frame = m_app->commandTarget()->frame;
    Orvane3Ds::DViewInput *input = m_input ? m_input() : nullptr;
    if (on) {
        if (!m_overhangEditor) {
            m_overhangEditor = std::make_shared<Orvane3Ds::OverhangEditor>();
            // The session is one undo step, recorded when it ends (the state before it and the
            // supports of the edited points); steps of single points under it would undo into
            // half-edited states (points without supports). Models are not deleted meanwhile.
            m_overhangEditor->setRecording(false);
            Orvane3Ds::InteractorHooks hooks;
            hooks.record = [](std::shared_ptr<Command>) {};
            hooks.commandTarget = m_app->commandTarget();
            m_overhangEditor->setHooks(std::move(hooks));
        }
        m_overhangEditor->setModel(model);
        if (frame) {
            frame->setEditedModel(model);
            frame->setEditMode(true);
        }
        if (input)
            input->install(m_overhangEditor, 1);
        return;
    }
    if (m_overhangEditor) {
        if (input)
            input->remove(m_overhangEditor);
        m_overhangEditor->setModel(nullptr);
    }
    if (frame) {
        frame->setEditMode(false);
        frame->setEditedModel(nullptr);
    }
}

void SdSupportConfigFiles::onModifySupportParameter()
{
    const QString file = m_list->currentIndex() > 0 ? m_list->currentText() : QString();
    if (file.isEmpty())
        return;
    emit sShowSupportParaWidget(file);
    auto *dialog = new DlpSupportWidget(m_app->userProfilesDir(), m_support, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &DlpSupportWidget::sParametersApplied, this,
            &SdSupportConfigFiles::onParametersApplied);
    connect(dialog, &DlpSupportWidget::supdateParaFileList, this,
            &SdSupportConfigFiles::onUpdateParaFileList);
    dialog->openProfile(file);
    dialog->open();
}

void SdSupportConfigFiles::onParametersApplied(bool valid)
{
    m_valid = valid;
    if (valid)
        m_list->setToolTip(QString());
}

void SdSupportConfigFiles::onUpdateParaFileList(const QString &file)
{
    if (file.isEmpty())
        return;
    int index = m_list->findText(file);
    if (index < 0) {
        m_list->addItem(file);
        index = m_list->count() - 1;
    }
    m_list->setCurrentIndex(index);
    onCurrentConfigChange(index);
}
