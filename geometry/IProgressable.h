#pragma once

#include <QMap>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

// One progress level: with unit "avg" the level is step `first` of `second` equal steps of its
// parent level; with any other unit ("pct") `first` is the span and `second` the start, both in
// percent of the parent level.
struct ProgressRange {
    int first = 0;
    int second = 0;
    QString unit;
};

// Minimal progress interface: cancel and the percent of a (current, total) pair.
class IProgressableBase
{
  public:
    virtual ~IProgressableBase() = default;
    virtual void setCancel(bool cancel) = 0;
    virtual int progressOf(std::int64_t current, std::int64_t total) = 0;
};

// Progress reporting and cancellation shared along a parent chain.
//
// Objects nest: an operation hands its progress object to sub-operations as their parent. The
// cancel flag, the callback and the levels live on the root of the chain; a report from any
// object of the chain reaches the root's callback with one percentage over the whole job.
//
// Threading: workers report and poll isCancelled() from their own threads; the callback runs on
// the reporting thread (receivers forward it by queued invocation). setCancel() may be called
// from any thread. The parent chain must outlive its children.
class IProgressable : public IProgressableBase
{
  public:
    // (percent 0..100, stage text (a translation key), flag passed through from report()).
    using Callback = std::function<void(int percent, const QString &stage, bool flag)>;

    IProgressable() = default;
    IProgressable(const IProgressable &) = delete;
    IProgressable &operator=(const IProgressable &) = delete;
    ~IProgressable() override = default;

    // Sets or clears the cancel flag of the root.
    void setCancel(bool cancel) override;
    bool isCancelled() const;

    // Percent of the current level of the root for current of total (integer arithmetic):
    // O + current * S / total. A total of 0 or less counts as complete (O + S); current is
    // clamped to 0..total.
    int progressOf(std::int64_t current, std::int64_t total) override;

    // Stored on the root.
    void setCallback(Callback callback);
    // Makes this object forward to parent (may be null to detach). Must not create a cycle.
    void setParent(IProgressable *parent);
    IProgressable *parent() const { return m_parent; }
    IProgressable *root();
    const IProgressable *root() const;

    // Stores the level ("level1", "level2", ...) on the root and makes it the current level.
    void setLevel(const QString &name, const ProgressRange &range);
    // Removes every level of the root (the whole range 0..100 is then current).
    void clearLevels();
    QString currentLevel() const;

    // Computes the percent of the current level (100 when this object's own cancel flag is set)
    // and calls the root's callback with it when it differs from the last percent this object
    // reported. Does nothing without a callback.
    void report(std::int64_t current, std::int64_t total, const QString &stage, bool flag = false);

    // Range mode: the new range starts at the previous end (0 when that was 100 or more).
    void setRange(int to);
    int rangeFrom() const { return m_rangeFrom; }
    int rangeTo() const { return m_rangeTo; }
    // Reports from + min(current, total) * (to - from) / total in 64-bit arithmetic (total <= 0
    // counts as complete), with the same once-per-percent rule as report().
    void reportInRange(std::int64_t current, std::int64_t total, const QString &stage,
                       bool flag = false);

    // The percent this object reported last (-1 before its first report).
    int lastPercent() const { return m_lastPercent.load(); }
    // Forgets the last percent so that the next report is always delivered.
    void resetLastPercent() { m_lastPercent = -1; }

  private:
    void emitPercent(int percent, const QString &stage, bool flag);

    IProgressable *m_parent = nullptr;
    std::atomic<bool> m_cancel{false};
    std::atomic<int> m_lastPercent{-1};
    int m_rangeFrom = 0;
    int m_rangeTo = 0;

    // Root state.
    mutable std::mutex m_mutex;
    QMap<QString, ProgressRange> m_levels;
    QString m_currentLevel;
    Callback m_callback;
};

// Progress base of the import manager, which overrides cancel and the percent calculation.
class DIProgressable : public IProgressable
{
  public:
    DIProgressable() = default;
};
