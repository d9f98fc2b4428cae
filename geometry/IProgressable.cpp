#include "geometry/IProgressable.h"

#include <algorithm>

namespace
{

// Level number from the digits after "level" ("level2" -> 2); 0 when there are none.
int levelNumber(const QString &name)
{
    if (!name.startsWith(QLatin1String("level")))
        return 0;
    bool ok = false;
    const int n = name.mid(5).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

} // namespace

IProgressable *IProgressable::root()
{
    IProgressable *p = this;
    while (p->m_parent)
        p = p->m_parent;
    return p;
}

const IProgressable *IProgressable::root() const
{
    const IProgressable *p = this;
    while (p->m_parent)
        p = p->m_parent;
    return p;
}

void IProgressable::setParent(IProgressable *parent)
{
    for (IProgressable *p = parent; p; p = p->m_parent)
        if (p == this)
            return; // would make a cycle
    m_parent = parent;
}

void IProgressable::setCancel(bool cancel)
{
    root()->m_cancel = cancel;
}

bool IProgressable::isCancelled() const
{
    return root()->m_cancel.load();
}

void IProgressable::setCallback(Callback callback)
{
    IProgressable *r = root();
    std::lock_guard<std::mutex> lock(r->m_mutex);
    r->m_callback = std::move(callback);
}

void IProgressable::setLevel(const QString &name, const ProgressRange &range)
{
    IProgressable *r = root();
    std::lock_guard<std::mutex> lock(r->m_mutex);
    r->m_levels.insert(name, range);
    r->m_currentLevel = name;
}

void IProgressable::clearLevels()
{
    IProgressable *r = root();
    std::lock_guard<std::mutex> lock(r->m_mutex);
    r->m_levels.clear();
    r->m_currentLevel.clear();
}

QString IProgressable::currentLevel() const
{
    const IProgressable *r = root();
    std::lock_guard<std::mutex> lock(r->m_mutex);
    return r->m_currentLevel;
}

int IProgressable::progressOf(std::int64_t current, std::int64_t total)
{
    std::int64_t offset = 0;
    std::int64_t span = 100;
    {
        IProgressable *r = root();
        std::lock_guard<std::mutex> lock(r->m_mutex);
        const int count = levelNumber(r->m_currentLevel);
        for (int k = 1; k <= count; ++k) {
            const auto it = r->m_levels.constFind(QStringLiteral("level%1").arg(k));
            if (it == r->m_levels.constEnd())
                continue;
            const ProgressRange &level = it.value();
            if (level.unit == QLatin1String("avg")) {
                if (level.second <= 0)
                    continue; // no steps: the level adds nothing
                offset += std::int64_t(level.first - 1) * span / level.second;
                span = span / level.second;
            } else {
                offset = std::int64_t(level.second) * span / 100 + offset;
                span = std::int64_t(level.first) * span / 100;
            }
        }
    }
    if (total <= 0)
        return int(offset + span);
    current = std::clamp<std::int64_t>(current, 0, total);
    // current * span cannot overflow for spans up to 100 and totals below 2^56.
    return int(offset + current * span / total);
}

void IProgressable::report(std::int64_t current, std::int64_t total, const QString &stage,
                           bool flag)
{
    const int percent = m_cancel.load() ? 100 : progressOf(current, total);
    emitPercent(percent, stage, flag);
}

void IProgressable::setRange(int to)
{
    m_rangeFrom = m_rangeTo >= 100 ? 0 : m_rangeTo;
    m_rangeTo = to;
}

void IProgressable::reportInRange(std::int64_t current, std::int64_t total, const QString &stage,
                                  bool flag)
{
    const std::int64_t span = std::int64_t(m_rangeTo) - m_rangeFrom;
    std::int64_t percent;
    if (total <= 0) {
        percent = m_rangeTo;
    } else {
        const std::int64_t done = std::clamp<std::int64_t>(current, 0, total);
        // 128-bit product: byte counts of any size times any span.
        percent = m_rangeFrom + std::int64_t(static_cast<__int128>(done) * span / total);
    }
    emitPercent(int(percent), stage, flag);
}

void IProgressable::emitPercent(int percent, const QString &stage, bool flag)
{
    Callback callback;
    {
        IProgressable *r = root();
        std::lock_guard<std::mutex> lock(r->m_mutex);
        callback = r->m_callback;
    }
    if (!callback)
        return;
    if (m_lastPercent.exchange(percent) == percent)
        return;
    callback(percent, stage, flag);
}
