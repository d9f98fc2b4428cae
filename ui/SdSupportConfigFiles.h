#pragma once

#include <QFrame>

#include <functional>
#include <memory>

class DDlpSupportSettingManage;
class DSharedApp;
class QComboBox;
class QLabel;
class QPushButton;

class Model;

namespace Orvane3Ds
{
class CSupportApp;
class DViewInput;
class OverhangEditor;
} // namespace Orvane3Ds

// The support panel of the tool strip: the profile list (profiles of the user's profile
// directory, where the shipped ones are copied at start), the generate / remove button, the
// edit start / stop button and the button that opens the parameter dialog.
//
// Only with a valid profile may supports be generated or edited. The buttons follow the support
// application's state callback (types 0-5).
//
// While overhang points are edited, the panel's overhang editor is the view's interactor (the
// view draws the edited model alone, orthographically). The session ends with the edit button,
// and also when the panel is closed: the edited points are kept and supports are generated for
// them, as the edit button does.
class SdSupportConfigFiles : public QFrame
{
    Q_OBJECT
  public:
    using InputProvider = std::function<Orvane3Ds::DViewInput *()>;

    explicit SdSupportConfigFiles(DSharedApp *app, QWidget *parent = nullptr);
    ~SdSupportConfigFiles() override;

    // Where the overhang editor is installed (the 3D view's input; null until GL is ready).
    void setInputProvider(InputProvider input) { m_input = std::move(input); }
    // The editor of the editing session; null before the first session.
    const std::shared_ptr<Orvane3Ds::OverhangEditor> &overhangEditor() const
    {
        return m_overhangEditor;
    }

    QComboBox *profileList() const { return m_list; }
    QPushButton *generateButton() const { return m_generate; }
    QPushButton *editButton() const { return m_edit; }
    QPushButton *modifyButton() const { return m_modify; }
    bool parametersValid() const { return m_valid; }
    bool supportsPresent() const { return m_present; }
    bool isEditing() const { return m_editing; }
    const DDlpSupportSettingManage &settings() const { return *m_settings; }
    void retranslate();

  signals:
    void sShowSupportParaWidget(const QString &file);
    void supdateTotalLayer();
    void updateMainUIName(const QString &generateText, const QString &editText);
    void updateMainEnabled(int num, bool enabled);

  public slots:
    void SetSupportApp(Orvane3Ds::CSupportApp *supportApp);
    // Adds a saved profile to the list (when not listed yet) and chooses it.
    void onUpdateParaFileList(const QString &file);
    void onChangeBtnText(bool has);
    void onCurrentConfigChange(int index);
    void onGenerateSupport();
    void onEditSupport();
    void onModifySupportParameter();
    // The parameter dialog applied its values (valid or not).
    void onParametersApplied(bool valid);
    void ModelUp();
    void AddFindOverhang();
    void AddSupport();
    void ModelDown();
    void CallMainEnabled(int num, bool enabled);
    void onUpdateButtonText(bool enabled, bool geneEnbale, bool editEnable, const QString &geneName,
                            const QString &editName);
    // Reads the profile directory again.
    void refreshProfiles();
    // The support application's state callback: the buttons by the state table (type 0-5).
    void onSupportState(int type, int count);

  protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;

  private:
    // The generate button follows the current model: "Remove supports" while it has supports.
    void followCurrentModel();
    bool refuseForModel(const char *slcText);
    bool currentIsSlc() const;
    void setGenerateText(bool remove);
    // The support application's editor callback: installs / removes the overhang editor.
    void showOverhangEditor(const std::shared_ptr<Model> &model, bool on);
    void stopEditing();

    DSharedApp *m_app;
    Orvane3Ds::CSupportApp *m_support = nullptr;
    InputProvider m_input;
    std::shared_ptr<Orvane3Ds::OverhangEditor> m_overhangEditor;
    std::unique_ptr<DDlpSupportSettingManage> m_settings;
    QLabel *m_title = nullptr;
    QComboBox *m_list = nullptr;
    QPushButton *m_modify = nullptr;
    QPushButton *m_generate = nullptr;
    QPushButton *m_edit = nullptr;
    bool m_valid = false;
    bool m_present = false;
    bool m_editing = false;
    bool m_working = false;
    bool m_removeText = false;
    bool m_stopText = false;
};
