#include "app/CEnvironmentColors.h"

#include <QFile>
#include <QList>

namespace Orvane3Ds
{

namespace
{

const Vec3f DefaultMeshColor{0.3f, 0.3f, 0.3f};

struct BuiltInScheme {
    const char *name;
    const char *model;
};

const BuiltInScheme BuiltInSchemes[] = {
    {"ColorDefault", "GRAY"},
    {"ColorGreenyes", "FLUORESCE_GREEN"},
    {"ColorGreen", "GREEN"},
    {"Colortransparent", "WHITE"},
    {"ColorBrown", "ORANGE"},
    {"ColorRed", "RED"},
    {"ColorWhite", "WHITE"},
    {"ColorYellow", "YELLOW"},
    {"ColorGray", "GRAY"},
    {"ColorBlue", "BLUE"},
    {"ColorBlack", "BLACK"},
    {"Advanced Material Colortransparent", "WHITE"},
    {"Standard Material ColorRed", "RED"},
    {"Functional Material ColorRed", "RED"},
    {"Advanced Material ColorRed", "RED"},
    {"Standard Material ColorWhite", "WHITE"},
    {"Advanced Material ColorWhite", "WHITE"},
    {"Standard Material ColorBlack", "BLACK"},
    {"Functional Material ColorBlack", "BLACK"},
    {"Standard Material Colortransparent", "WHITE"},
};

} // namespace

CEnvironmentColors::CEnvironmentColors() : m_schemes(100)
{
    m_roles.fill(DefaultMeshColor);
}

CEnvironmentColors &CEnvironmentColors::instance()
{
    static CEnvironmentColors colors;
    return colors;
}

bool CEnvironmentColors::loadColors(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_named.clear();
        return false;
    }
    parseColors(file.readAll());
    return true;
}

void CEnvironmentColors::parseColors(const QByteArray &bytes)
{
    m_named.clear();
    for (QByteArray line : bytes.split('\n')) {
        line = line.trimmed();
        const int eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        const QString name = QString::fromUtf8(line.left(eq).trimmed());
        QList<QByteArray> parts = line.mid(eq + 1).split(',');
        if (!parts.isEmpty() && parts.last().trimmed().isEmpty())
            parts.removeLast();
        if (parts.size() < 3)
            continue;
        Vec3f rgb;
        bool ok = true;
        for (int i = 0; i < 3 && ok; ++i)
            rgb[i] = parts[i].trimmed().toFloat(&ok);
        if (ok)
            m_named.insert(name, rgb);
    }
}

void CEnvironmentColors::buildSchemes()
{
    m_schemes.clear();
    for (const BuiltInScheme &s : BuiltInSchemes) {
        auto *scheme = new CColorScheme;
        scheme->name = QString::fromLatin1(s.name);
        scheme->roleNames = {QString::fromLatin1(s.model), QStringLiteral("BLUE"),
                             QStringLiteral("YELLOW"), QStringLiteral("LIGHT_RED"),
                             QStringLiteral("RED")};
        m_schemes.insert(scheme->name, scheme, 1);
    }
}

bool CEnvironmentColors::applyScheme(const QString &name)
{
    const CColorScheme *scheme = m_schemes.object(name);
    if (!scheme)
        return false;
    applyScheme(*scheme);
    return true;
}

void CEnvironmentColors::applyScheme(const CColorScheme &scheme)
{
    m_schemeName = scheme.name;
    for (int role = 0; role < 5; ++role)
        m_roles[role] = m_named.value(scheme.roleNames[role], Vec3f{0.0f, 0.0f, 0.0f});
    m_roles[5] = DefaultMeshColor;
    if (m_changed)
        m_changed();
}

Vec3f CEnvironmentColors::roleColor(int role) const
{
    if (role < 0 || role >= RoleCount)
        return DefaultMeshColor;
    return m_roles[role];
}

void CEnvironmentColors::setRoleColor(int role, const Vec3f &rgb)
{
    if (role >= 0 && role < RoleCount)
        m_roles[role] = rgb;
}

GreyRoleColorsScope::GreyRoleColorsScope(CEnvironmentColors &colors)
    : m_colors(colors), m_saved(colors.roleColors()), m_savedName(colors.schemeName())
{
    std::array<Vec3f, CEnvironmentColors::RoleCount> grey;
    grey.fill(Vec3f{0.8f, 0.8f, 0.8f});
    m_colors.setRoleColors(grey);
}

GreyRoleColorsScope::~GreyRoleColorsScope()
{
    m_colors.setRoleColors(m_saved);
    m_colors.setSchemeName(m_savedName);
}

} // namespace Orvane3Ds
