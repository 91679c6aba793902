#pragma once
// The registry, read only, from text files: WindowsDir + "registry.reg" (REGEDIT4 syntax, kept
// by the demo CD's setup and uninstall scripts) is asked first, then the Wine prefix
// (system.reg for HKEY_LOCAL_MACHINE, userdef.reg for HKEY_USERS\.Default, user.reg for
// HKEY_CURRENT_USER). Key paths and value names match without regard to case. A missing file is
// an empty registry.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <set>

namespace platform {

enum class RootKey { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// "HKEY_LOCAL_MACHINE" or "HKLM" (any case) and the others.
std::optional<RootKey> rootKeyFromName(QStringView name);

// What a lookup needs to know; tests count or fake it.
class RegistryReader {
public:
    virtual ~RegistryReader() = default;
    // The text of a value (empty name: the key's default value); empty when the key or the
    // value is missing. A value that exists but holds no text (string or expandable string)
    // fails with KatalogError("Invalid data type for 'name'").
    virtual QString readString(RootKey root, const QString& keyPath, const QString& name) = 0;
};

namespace registry_detail {

enum : quint32 { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4, MultiString = 7 };

struct Value {
    quint32 type = None;
    QString text;  // strings only, cut at the first NUL
};

struct Key {
    QHash<QString, Value> values;  // by case-folded name
};

// One parsed file: keys by case-folded full path ("hkey_local_machine\software\..."), and the
// keys that a "[-key]" removed, which hide the same keys of the files asked later.
struct Hive {
    std::map<QString, Key> keys;
    std::set<QString> deleted;
};

// Parsers for both formats. mount is the folded path the file's keys live under (Wine files
// name keys relative to their root); REGEDIT4 files name the root in every key.
Hive parseRegFile(const QByteArray& bytes);
Hive parseWineFile(const QByteArray& bytes, const QString& mount);

}  // namespace registry_detail

// A key opened for reading: a snapshot of its values.
class RegistryKey {
public:
    // nullopt when the value is missing; KatalogError when it holds no text.
    std::optional<QString> readString(const QString& name) const;
    bool hasValue(const QString& name) const;

private:
    friend class Registry;
    registry_detail::Key key_;
    QHash<QString, QString> environment_;  // folded name -> value, for expandable strings
    QString winePrefix_;
    bool wow64_ = false;                    // read from Software\Wow6432Node
};

class Registry : public RegistryReader {
public:
    Registry(QString windowsDir, QString winePrefix);
    explicit Registry(QString windowsDir);  // the Wine prefix of defaultWinePrefix()
    ~Registry() override;

    // The key, or nullopt when no file holds it. Below HKEY_LOCAL_MACHINE\Software a key that
    // Wine keeps for 32-bit programs (Software\Wow6432Node\...) is found as well.
    std::optional<RegistryKey> openKey(RootKey root, const QString& keyPath);
    QString readString(RootKey root, const QString& keyPath, const QString& name) override;

    // How often a file was parsed: once, and again only after it changed.
    int parseCount() const { return parseCount_; }

private:
    struct Source;
    const registry_detail::Hive& hive(int index);
    QHash<QString, QString> wineEnvironment();

    QString windowsDir_;
    QString winePrefix_;
    std::unique_ptr<Source[]> sources_;
    int parseCount_ = 0;
};

}  // namespace platform
