#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace zlm {

/** The machine-wide registry root, the only one the lookup reads. */
enum class RegistryRoot { LocalMachine };

/**
 * GetKeyValue: reads a string value from the registry. Returns false with an
 * empty text when the key or the value cannot be read, or the value is not a
 * string. Where there is no registry (Linux) it always returns false.
 */
bool GetKeyValue(RegistryRoot root, const QString& keyName, const QString& valueName, QString& value);

/**
 * Finds and starts the operating system's system-information tool: through the
 * registry where there is one, else the first of a short list of programs found
 * on the search path.
 */
class SystemInfoTool {
public:
    /** Starts a program detached; true when it started. */
    using Starter = std::function<bool(const QString& program)>;

    /** Looks for DefaultCandidates() on the PATH of the environment and starts detached. */
    SystemInfoTool();
    /** Looks for `candidates` in `searchPaths` (empty: the PATH of the environment). */
    SystemInfoTool(QStringList candidates, QStringList searchPaths, Starter starter = {});

    /** The system-information programs looked for where there is no registry, in order. */
    static QStringList DefaultCandidates();

    /** The program that StartSysInfo would start, or an empty text. */
    QString FindTool() const;

    /** StartSysInfo: true when a tool was found and started. */
    bool StartSysInfo() const;

private:
    QStringList candidates_;
    QStringList searchPaths_;
    Starter starter_;
};

} // namespace zlm
