#pragma once

#include "geometry/Vec3.h"

#include <QByteArray>
#include <QCache>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace Orvane3Ds
{

// One colour scheme: a colour name for each of the roles 0 to 4.
struct CColorScheme {
    QString name;
    std::array<QString, 5> roleNames;
};

// Role colours read by the renderer, and the named colours and schemes they come from.
// Roles: 0 model, 1 selected model and contour models, 2 overhang markers, 3 highlighted overhang
// markers, 4 spare, 5 secondary markers (always the default mesh colour once a scheme is applied).
//
// One process-wide instance (instance()); all use is on the GUI thread.
class CEnvironmentColors
{
  public:
    static constexpr int RoleCount = 6;

    CEnvironmentColors();
    static CEnvironmentColors &instance();

    // Reads the colour file ("NAME=r,g,b" per line, decimal numbers 0..1, a trailing comma
    // allowed) and replaces the whole map. Returns false when the file cannot be read (the map is
    // then empty).
    bool loadColors(const QString &path);
    // Same from bytes already read.
    void parseColors(const QByteArray &bytes);
    const QHash<QString, Vec3f> &namedColors() const { return m_named; }

    // Fills the scheme cache with the built-in table.
    void buildSchemes();
    QStringList schemeNames() const { return m_schemes.keys(); }
    // Applies the cached scheme of that name; false (nothing changed) when there is none.
    bool applyScheme(const QString &name);
    // Remembers the scheme name, sets roles 0..4 from the named colours (a missing name gives
    // black), role 5 to (0.3, 0.3, 0.3), then calls the colour-changed callback.
    void applyScheme(const CColorScheme &scheme);
    const QString &schemeName() const { return m_schemeName; }

    Vec3f roleColor(int role) const;
    void setRoleColor(int role, const Vec3f &rgb);
    const std::array<Vec3f, RoleCount> &roleColors() const { return m_roles; }
    void setRoleColors(const std::array<Vec3f, RoleCount> &colors) { m_roles = colors; }
    void setSchemeName(const QString &name) { m_schemeName = name; }

    // Called after a scheme was applied (the view repaints).
    void setColorChangedCallback(std::function<void()> callback)
    {
        m_changed = std::move(callback);
    }

  private:
    QHash<QString, Vec3f> m_named;
    QCache<QString, CColorScheme> m_schemes;
    std::array<Vec3f, RoleCount> m_roles;
    QString m_schemeName;
    std::function<void()> m_changed;
};

// Replaces the six role colours with grey (0.8, 0.8, 0.8) for as long as it lives and restores
// them, with the scheme name, afterwards.
class GreyRoleColorsScope
{
  public:
    explicit GreyRoleColorsScope(CEnvironmentColors &colors = CEnvironmentColors::instance());
    ~GreyRoleColorsScope();
    GreyRoleColorsScope(const GreyRoleColorsScope &) = delete;
    GreyRoleColorsScope &operator=(const GreyRoleColorsScope &) = delete;

  private:
    CEnvironmentColors &m_colors;
    std::array<Vec3f, CEnvironmentColors::RoleCount> m_saved;
    QString m_savedName;
};

} // namespace Orvane3Ds
