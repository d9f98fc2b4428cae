#pragma once

#include <QString>
#include <QStringList>

class QTimer;

namespace uitest
{

// Installs the compiled translation of `code` ("en" or "zh") for the whole test program,
// replacing the one installed before. Returns false when the resource is missing.
bool useLanguage(const QString &code);

// Processes pending events (queued calls included) a few times over.
void settle();

// Points the default QSettings at an INI file in a temporary folder for the whole test program
// and returns that folder; per-user files of the application go below it too.
QString isolatedUserFolder();

// Folder of the built programs and their shipped files (bin/), also when the test program is
// run outside CTest.
QString programFolder();

// Watches for modal message boxes while it lives and clicks the button with `buttonText` (the
// default or first button when empty); the texts and titles seen are kept for the test.
class MessageBoxAnswerer
{
  public:
    explicit MessageBoxAnswerer(const QString &buttonText = QString());
    ~MessageBoxAnswerer();

    int count() const { return m_texts.size(); }
    QStringList texts() const { return m_texts; }
    QStringList titles() const { return m_titles; }
    // The button texts of each box seen, joined by "|".
    QStringList buttonTexts() const { return m_buttons; }

  private:
    void poll();

    QString m_buttonText;
    QStringList m_texts;
    QStringList m_titles;
    QStringList m_buttons;
    QTimer *m_timer = nullptr;
};

} // namespace uitest
