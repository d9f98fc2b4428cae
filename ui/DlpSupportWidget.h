#pragma once

#include "geometry/SupportParameters.h"

#include <QDialog>

#include <functional>

class ISupportParameterSink;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The support parameter dialog: shows one profile's values, lets the user change them, applies
// them for the running program or saves them under a new name in the profile directory.
//
// Number fields accept digits with at most one point and seven decimals; a character that
// breaks this is removed as it is typed. Every failure is told in a message box.
class DlpSupportWidget : public QDialog
{
    Q_OBJECT
  public:
    // The seven number fields in profile order.
    enum Field {
        OverhangDiameter,
        LinkPointDiameter,
        SupportGaps,
        SupportDiameter,
        SupportHeight,
        BaseHeight,
        BaseExtern,
        FieldCount
    };

    // `profileDirectory`: where profiles are read and written; `sink` receives applied values
    // (may be null).
    DlpSupportWidget(const QString &profileDirectory, ISupportParameterSink *sink,
                     QWidget *parent = nullptr);

    // Fills the fields from the profile `fileName` of the profile directory.
    void openProfile(const QString &fileName);
    QString profileFile() const { return m_file; }

    // The field check of apply and save (message boxes for the link point rules); true when
    // every field holds a usable value.
    bool checkFields();
    // Writes the fields as profile `fileName` (only its file name part counts) into the
    // profile directory; false when the check fails or the file cannot be written.
    bool writeProfile(const QString &fileName);
    // The parameter record the fields describe.
    SupportParameters fieldParameters() const;

    // Replaces the save-file dialog (tests): (title, proposed path, filter) -> chosen path.
    using SaveFileNameProvider =
        std::function<QString(const QString &, const QString &, const QString &)>;
    static void setSaveFileNameProvider(SaveFileNameProvider provider);
    // Why parameters would make generation run away (a gap so small that the points explode, a
    // zero diameter); empty when they can be used.
    static QString unusableReason(const SupportParameters &params);

    QLineEdit *field(Field which) const { return m_fields[which]; }
    QRadioButton *methodA() const { return m_methodA; }
    QRadioButton *methodB() const { return m_methodB; }
    QCheckBox *hasSupportsBox() const { return m_hasSupports; }
    QCheckBox *addBaseBox() const { return m_addBase; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *saveButton() const { return m_save; }
    QPushButton *discardButton() const { return m_discard; }
    void retranslate();

  signals:
    void supdateParaFileList(const QString &file);
    // Apply ended: valid is false when the values could not be used.
    void sParametersApplied(bool valid);

  public slots:
    void onDiscard();
    void onApplyParameter();
    void onSaveParameter();
    void OnLineEditValueChange(const QString &value);

  protected:
    void changeEvent(QEvent *event) override;

  private:
    void warn(const QString &titleKey, const QString &text);

    QString m_directory;
    QString m_file;
    ISupportParameterSink *m_sink;
    QLineEdit *m_fields[FieldCount] = {};
    QLabel *m_labels[FieldCount] = {};
    QLabel *m_methodLabel = nullptr;
    QRadioButton *m_methodA = nullptr;
    QRadioButton *m_methodB = nullptr;
    QCheckBox *m_hasSupports = nullptr;
    QCheckBox *m_addBase = nullptr;
    QPushButton *m_apply = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_discard = nullptr;
};
