#include "ui/LanguageChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QPointer>
#include <QRadioButton>
#include <QSettings>
#include <QTranslator>
#include <QVBoxLayout>

namespace
{

QPointer<QTranslator> &processTranslator()
{
    static QPointer<QTranslator> translator;
    return translator;
}

// The two characters after "lang_" in the file name.
QString codeOf(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const int at = name.indexOf(QLatin1String("lang_"));
    return at < 0 ? QString() : name.mid(at + 5, 2);
}

QString languageName(const QString &path)
{
    QTranslator translator;
    if (!translator.load(path))
        return codeOf(path);
    const QString name = translator.translate("LanguageChooser", "Which Language");
    return name.isEmpty() ? codeOf(path) : name;
}

} // namespace

QTranslator *LanguageChooser::installedTranslator()
{
    return processTranslator().data();
}

void LanguageChooser::adoptTranslator(QTranslator *translator)
{
    processTranslator() = translator;
}

LanguageChooser::LanguageChooser(const QString &currentCode, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LanguageChooser"));
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    auto *layout = new QVBoxLayout(this);
    m_group = new QGroupBox(tr("Languages"), this);
    auto *grid = new QGridLayout(m_group);
    layout->addWidget(m_group);
    const QDir dir(QStringLiteral(":/language"));
    const QStringList files = dir.entryList({QStringLiteral("*.qm")}, QDir::Files);
    int index = 0;
    for (const QString &file : files) {
        const QString path = dir.absoluteFilePath(file);
        auto *button = new QRadioButton(languageName(path), m_group);
        button->setObjectName(QStringLiteral("rb_") + codeOf(path));
        grid->addWidget(button, index / 2, index % 2);
        m_files.insert(button, path);
        if (codeOf(path) == currentCode.left(2))
            button->setChecked(true);
        // Clicked rather than toggled: choosing the active language again reinstalls it too.
        connect(button, &QRadioButton::clicked, this, &LanguageChooser::radioButtonClicked);
        ++index;
    }
    setTitleFromTranslation();
}

void LanguageChooser::setTitleFromTranslation()
{
    setWindowTitle(tr("Language: %1").arg(tr("Which Language")));
    m_group->setTitle(tr("Languages"));
}

void LanguageChooser::radioButtonClicked()
{
    auto *button = qobject_cast<QRadioButton *>(sender());
    if (!button || !button->isChecked() || !m_files.contains(button))
        return;
    if (QTranslator *old = processTranslator().data()) {
        QApplication::removeTranslator(old);
        delete old;
    }
    auto *next = new QTranslator(qApp);
    const QString path = m_files.value(button);
    if (next->load(path)) {
        QApplication::installTranslator(next);
        processTranslator() = next;
    } else {
        // Source texts are shown until another language is chosen.
        delete next;
        processTranslator() = nullptr;
    }
    setTitleFromTranslation();
    QSettings().setValue(QStringLiteral("softLang"), codeOf(path));
    emit schangeLanguage();
}
