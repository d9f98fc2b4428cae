#pragma once

#include <QDialog>
#include <QMap>

class QGroupBox;
class QRadioButton;
class QTranslator;

// Lists the languages built into the program (":/language/*.qm"), each under its own name;
// choosing one installs its translation at once, remembers it as "softLang" and emits
// schangeLanguage().
class LanguageChooser : public QDialog
{
    Q_OBJECT
  public:
    // currentCode: "en", "zh_CN", ...; the button of the file whose code equals its first two
    // characters is checked.
    explicit LanguageChooser(const QString &currentCode, QWidget *parent = nullptr);

    QList<QRadioButton *> buttons() const { return m_files.keys(); }
    // The translation the chooser installed last (the process has one at a time).
    static QTranslator *installedTranslator();
    // Makes `translator` the process's one translation (the start-up code installs the first).
    static void adoptTranslator(QTranslator *translator);

  signals:
    void schangeLanguage();

  public slots:
    void radioButtonClicked();

  private:
    void setTitleFromTranslation();

    QMap<QRadioButton *, QString> m_files;
    QGroupBox *m_group = nullptr;
};
