#include "platform/Registry.h"

#include "platform/Errors.h"
#include "platform/WinePaths.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/stat.h>

namespace platform {

using namespace registry_detail;

namespace {

// Larger files are no registry of ours; they read as empty rather than eat the memory.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
// Windows' own limit for an environment value.
constexpr qsizetype MaxExpandedLength = 32767;

struct RootName {
    RootKey root;
    const char16_t* full;
    const char16_t* shortName;
};

constexpr RootName RootNames[] = {
    {RootKey::ClassesRoot, u"HKEY_CLASSES_ROOT", u"HKCR"},
    {RootKey::CurrentUser, u"HKEY_CURRENT_USER", u"HKCU"},
    {RootKey::LocalMachine, u"HKEY_LOCAL_MACHINE", u"HKLM"},
    {RootKey::Users, u"HKEY_USERS", u"HKU"},
    {RootKey::CurrentConfig, u"HKEY_CURRENT_CONFIG", u"HKCC"},
};

QString rootFolded(RootKey root) {
    for (const RootName& r : RootNames)
        if (r.root == root)
            return QString::fromUtf16(r.full).toCaseFolded();
    return {};
}

QString fold(const QString& s) { return s.toCaseFolded(); }

// "a\\b\c\" -> "a\b\c", case-folded; registry paths have no empty components.
QString normalizedPath(QStringView path) {
    QStringList parts;
    for (QStringView part : path.split(u'\\', Qt::SkipEmptyParts))
        parts.append(part.toString().toCaseFolded());
    return parts.join(QLatin1Char('\\'));
}

bool isHex(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u <= u'9')
        return u - u'0';
    return (u | 0x20) - u'a' + 10;
}

// ---- text of both formats -------------------------------------------------------------

// Wine's escapes: \a \b \e \f \n \r \t \v, \x with up to four hex digits, up to three octal
// digits; any other escaped character stands for itself. Reads from pos up to the unescaped
// end character; pos ends after it. nullopt when the end character never comes.
std::optional<QString> readWineText(QStringView line, qsizetype& pos, QChar end) {
    QString out;
    while (pos < line.size()) {
        QChar c = line[pos++];
        if (c == end)
            return out;
        if (c != QLatin1Char('\\') || pos >= line.size()) {
            out.append(c);
            continue;
        }
        c = line[pos++];
        switch (c.unicode()) {
        case u'a': out.append(QChar(7)); break;
        case u'b': out.append(QChar(8)); break;
        case u'e': out.append(QChar(27)); break;
        case u'f': out.append(QChar(12)); break;
        case u'n': out.append(QChar(10)); break;
        case u'r': out.append(QChar(13)); break;
        case u't': out.append(QChar(9)); break;
        case u'v': out.append(QChar(11)); break;
        case u'x': {
            if (pos >= line.size() || !isHex(line[pos])) {
                out.append(c);
                break;
            }
            uint v = 0;
            for (int i = 0; i < 4 && pos < line.size() && isHex(line[pos]); ++i)
                v = v * 16 + uint(hexValue(line[pos++]));
            out.append(QChar(char16_t(v)));
            break;
        }
        default:
            if (c >= QLatin1Char('0') && c <= QLatin1Char('7')) {
                uint v = c.unicode() - u'0';
                for (int i = 0; i < 2 && pos < line.size() && line[pos] >= QLatin1Char('0') &&
                                line[pos] <= QLatin1Char('7');
                     ++i)
                    v = v * 8 + (line[pos++].unicode() - u'0');
                out.append(QChar(char16_t(v)));
            } else {
                out.append(c);
            }
        }
    }
    return std::nullopt;
}

// REGEDIT4 escapes only \\ and \" (and \n, \r, \0 as regedit writes them); any other
// backslash is kept, so a carelessly written "C:\Prog" survives.
std::optional<QString> readRegText(QStringView line, qsizetype& pos) {
    QString out;
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c == QLatin1Char('"'))
            return out;
        if (c != QLatin1Char('\\') || pos >= line.size()) {
            out.append(c);
            continue;
        }
        const QChar n = line[pos];
        switch (n.unicode()) {
        case u'\\': out.append(n); ++pos; break;
        case u'"': out.append(n); ++pos; break;
        case u'n': out.append(QChar(10)); ++pos; break;
        case u'r': out.append(QChar(13)); ++pos; break;
        case u'0': out.append(QChar(0)); ++pos; break;
        default: out.append(c);
        }
    }
    return std::nullopt;
}

QString cutAtNul(const QString& s) {
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

bool isStringType(quint32 type) { return type == String || type == ExpandString; }

// "xx,xx,..." possibly with spaces; nullopt on anything else.
std::optional<QByteArray> parseHexBytes(QStringView text) {
    QByteArray bytes;
    for (QStringView token : text.split(u',')) {
        token = token.trimmed();
        if (token.isEmpty())
            continue;  // a trailing comma before a line break
        if (token.size() > 2 || !isHex(token[0]) || (token.size() == 2 && !isHex(token[1])))
            return std::nullopt;
        int v = hexValue(token[0]);
        if (token.size() == 2)
            v = v * 16 + hexValue(token[1]);
        bytes.append(char(v));
    }
    return bytes;
}

// Text of a string value stored as bytes: UTF-16LE (Wine, regedit 5) or the file's own
// encoding (REGEDIT4, whose files are UTF-8 here).
QString textFromBytes(const QByteArray& bytes, bool utf16) {
    if (utf16) {
        QString s(bytes.size() / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            s[i / 2] = QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8)));
        return cutAtNul(s);
    }
    const qsizetype nul = bytes.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? bytes : bytes.left(nul));
}

QStringList splitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    return lines;
}

// The data of a value line, from after "=" on; continuation lines of hex data are taken
// from lines[next...], next advancing past them. nullopt for data we do not understand.
struct ParsedData {
    bool deleteValue = false;
    Value value;
};

std::optional<ParsedData> parseData(QStringView data, const QStringList& lines, qsizetype& next,
                                    bool wine, bool utf16Hex) {
    data = data.trimmed();
    ParsedData out;
    if (!wine && data == u"-") {
        out.deleteValue = true;
        return out;
    }
    if (data.startsWith(u'"')) {
        qsizetype pos = 1;
        auto text = wine ? readWineText(data, pos, QLatin1Char('"')) : readRegText(data, pos);
        if (!text)
            return std::nullopt;
        out.value = {String, cutAtNul(*text)};
        return out;
    }
    if (data.startsWith(u"str(", Qt::CaseInsensitive)) {
        const qsizetype close = data.indexOf(u"):\"");
        if (close < 0)
            return std::nullopt;
        bool ok = false;
        const uint type = data.mid(4, close - 4).toString().toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        qsizetype pos = close + 3;
        auto text = wine ? readWineText(data, pos, QLatin1Char('"')) : readRegText(data, pos);
        if (!text)
            return std::nullopt;
        out.value = {type, cutAtNul(*text)};
        return out;
    }
    if (data.startsWith(u"dword:", Qt::CaseInsensitive)) {
        out.value.type = Dword;
        return out;
    }
    if (data.startsWith(u"hex", Qt::CaseInsensitive)) {
        quint32 type = Binary;
        qsizetype colon = data.indexOf(u':');
        if (colon < 0)
            return std::nullopt;
        const QStringView kind = data.left(colon).trimmed();
        if (kind.size() > 3) {
            if (!kind.mid(3).startsWith(u'(') || !kind.endsWith(u')'))
                return std::nullopt;
            bool ok = false;
            type = kind.mid(4, kind.size() - 5).toString().toUInt(&ok, 16);
            if (!ok)
                return std::nullopt;
        }
        // A line ending in "\" goes on in the next one.
        QString hex;
        QStringView piece = data.mid(colon + 1).trimmed();
        while (piece.endsWith(u'\\')) {
            hex += piece.chopped(1);
            hex += QLatin1Char(',');
            if (next >= lines.size()) {
                piece = {};
                break;
            }
            piece = QStringView(lines[next++]).trimmed();
        }
        hex += piece;
        auto bytes = parseHexBytes(hex);
        if (!bytes)
            return std::nullopt;
        out.value.type = type;
        if (isStringType(type) || type == MultiString)
            out.value.text = textFromBytes(*bytes, utf16Hex);
        return out;
    }
    return std::nullopt;
}

// A value line: "name"=data or @=data. Returns the folded name and the data's position.
std::optional<std::pair<QString, qsizetype>> parseValueName(QStringView line, bool wine) {
    qsizetype pos = 0;
    QString name;
    if (line.startsWith(u'@')) {
        pos = 1;
    } else if (line.startsWith(u'"')) {
        pos = 1;
        auto text = wine ? readWineText(line, pos, QLatin1Char('"')) : readRegText(line, pos);
        if (!text)
            return std::nullopt;
        name = *text;
    } else {
        return std::nullopt;
    }
    while (pos < line.size() && line[pos].isSpace())
        ++pos;
    if (pos >= line.size() || line[pos] != QLatin1Char('='))
        return std::nullopt;
    return std::make_pair(fold(name), pos + 1);
}

bool hiddenBy(const std::set<QString>& deleted, const QString& path) {
    if (deleted.empty())
        return false;
    if (deleted.count(path))
        return true;
    for (qsizetype i = path.indexOf(QLatin1Char('\\')); i >= 0;
         i = path.indexOf(QLatin1Char('\\'), i + 1))
        if (deleted.count(path.left(i)))
            return true;
    return false;
}

// %NAME% from env, else from the process environment (Wine hands its programs the Unix
// environment as well).
QString expand(const QString& text, const QHash<QString, QString>& env, bool processEnv) {
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(QLatin1Char('%'), i);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) {
            out += QStringView(text).mid(i);
            break;
        }
        out += QStringView(text).mid(i, open - i);
        const QString name = text.mid(open + 1, close - open - 1);
        const auto it = env.constFind(fold(name));
        if (it != env.constEnd() && !name.isEmpty()) {
            out += *it;
            i = close + 1;
        } else if (processEnv && !name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData())) {
            out += qEnvironmentVariable(name.toLocal8Bit().constData());
            i = close + 1;
        } else {
            // Unknown: kept as written; its closing "%" may open the next name.
            out += QStringView(text).mid(open, close - open);
            i = close;
        }
        if (out.size() > MaxExpandedLength) {
            out.truncate(MaxExpandedLength);
            break;
        }
    }
    return out;
}

}  // namespace

std::optional<RootKey> rootKeyFromName(QStringView name) {
    for (const RootName& r : RootNames)
        if (name.compare(QStringView(r.full), Qt::CaseInsensitive) == 0 ||
            name.compare(QStringView(r.shortName), Qt::CaseInsensitive) == 0)
            return r.root;
    return std::nullopt;
}

namespace registry_detail {

Hive parseRegFile(const QByteArray& bytes) {
    QString text;
    bool unicodeFile = false;
    if (bytes.startsWith("\xff\xfe")) {
        text = QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
        unicodeFile = true;
    } else if (bytes.startsWith("\xef\xbb\xbf")) {
        text = QString::fromUtf8(bytes.mid(3));
    } else {
        text = QString::fromUtf8(bytes);
    }

    Hive hive;
    const QStringList lines = splitLines(text);
    Key* current = nullptr;
    qsizetype next = 0;
    while (next < lines.size()) {
        const QString line = lines[next++].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1String("Windows Registry Editor Version 5"), Qt::CaseInsensitive)) {
            unicodeFile = true;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            current = nullptr;
            const qsizetype close = line.lastIndexOf(QLatin1Char(']'));
            if (close < 0)
                continue;
            QStringView inner = QStringView(line).mid(1, close - 1).trimmed();
            const bool remove = inner.startsWith(u'-');
            if (remove)
                inner = inner.mid(1);
            const qsizetype slash = inner.indexOf(u'\\');
            const auto root = rootKeyFromName(slash < 0 ? inner : inner.left(slash));
            if (!root)
                continue;
            const QString rest = slash < 0 ? QString() : normalizedPath(inner.mid(slash + 1));
            const QString path = rest.isEmpty() ? rootFolded(*root) : rootFolded(*root) + QLatin1Char('\\') + rest;
            if (remove) {
                if (rest.isEmpty())
                    continue;  // a root key cannot be deleted
                // "a\b c" sorts between "a\b" and "a\b\c": the subkeys follow their prefix.
                hive.keys.erase(path);
                const QString prefix = path + QLatin1Char('\\');
                auto it = hive.keys.lower_bound(prefix);
                while (it != hive.keys.end() && it->first.startsWith(prefix))
                    it = hive.keys.erase(it);
                hive.deleted.insert(path);
            } else {
                current = &hive.keys[path];
            }
            continue;
        }
        if (!current)
            continue;
        const auto name = parseValueName(line, false);
        if (!name)
            continue;
        const auto data = parseData(QStringView(line).mid(name->second), lines, next, false, unicodeFile);
        if (!data)
            continue;
        if (data->deleteValue)
            current->values.remove(name->first);
        else
            current->values.insert(name->first, data->value);
    }
    return hive;
}

Hive parseWineFile(const QByteArray& bytes, const QString& mount) {
    Hive hive;
    const QStringList lines = splitLines(QString::fromUtf8(bytes));
    Key* current = nullptr;
    qsizetype next = 0;
    while (next < lines.size()) {
        const QString line = lines[next++].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            current = nullptr;
            qsizetype pos = 1;
            const auto name = readWineText(line, pos, QLatin1Char(']'));
            if (!name)
                continue;
            const QString rest = normalizedPath(*name);
            current = &hive.keys[rest.isEmpty() ? mount : mount + QLatin1Char('\\') + rest];
            continue;
        }
        if (!current)
            continue;
        const auto name = parseValueName(line, true);
        if (!name)
            continue;
        const auto data = parseData(QStringView(line).mid(name->second), lines, next, true, true);
        if (data)
            current->values.insert(name->first, data->value);
    }
    return hive;
}

}  // namespace registry_detail

// ---- keys -------------------------------------------------------------------------------

bool RegistryKey::hasValue(const QString& name) const { return key_.values.contains(fold(name)); }

std::optional<QString> RegistryKey::readString(const QString& name) const {
    const auto it = key_.values.constFind(fold(name));
    if (it == key_.values.constEnd())
        return std::nullopt;
    if (!isStringType(it->type))
        throw KatalogError(QStringLiteral("Invalid data type for '%1'").arg(name));
    QString text = it->text;
    if (it->type == ExpandString) {
        if (wow64_) {
            // A 32-bit program's %ProgramFiles% is the x86 folder.
            QHash<QString, QString> env = environment_;
            for (const char* n : {"programfiles", "commonprogramfiles"}) {
                const auto x86 = env.constFind(QString::fromLatin1(n) + QStringLiteral("(x86)"));
                if (x86 != env.constEnd())
                    env.insert(QString::fromLatin1(n), *x86);
            }
            text = expand(text, env, true);
        } else {
            text = expand(text, environment_, true);
        }
    }
    // A Windows path is useful here only as the Linux path it names.
    if (isWindowsDrivePath(text)) {
        if (auto local = windowsToLinuxPath(winePrefix_, text); local && QFileInfo::exists(*local))
            return local;
    }
    return text;
}

// ---- the registry -----------------------------------------------------------------------

struct Registry::Source {
    QString path;
    QString mount;  // Wine files: where their keys live; empty for REGEDIT4
    bool loaded = false;
    // What the file looked like when parsed.
    bool exists = false;
    qint64 mtimeNs = 0;
    qint64 size = 0;
    quint64 inode = 0;
    Hive hive;
};

Registry::Registry(QString windowsDir, QString winePrefix)
    : windowsDir_(std::move(windowsDir)), winePrefix_(std::move(winePrefix)), sources_(new Source[4]) {
    QString dir = windowsDir_;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    sources_[0].path = dir + QStringLiteral("registry.reg");
    if (!winePrefix_.isEmpty()) {
        sources_[1].path = winePrefix_ + QStringLiteral("/system.reg");
        sources_[1].mount = rootFolded(RootKey::LocalMachine);
        sources_[2].path = winePrefix_ + QStringLiteral("/userdef.reg");
        sources_[2].mount = rootFolded(RootKey::Users) + QStringLiteral("\\.default");
        sources_[3].path = winePrefix_ + QStringLiteral("/user.reg");
        sources_[3].mount = rootFolded(RootKey::CurrentUser);
    }
}

Registry::Registry(QString windowsDir) : Registry(std::move(windowsDir), defaultWinePrefix()) {}

Registry::~Registry() = default;

const Hive& Registry::hive(int index) {
    Source& s = sources_[index];
    if (s.path.isEmpty())
        return s.hive;
    struct stat st {};
    const bool exists = ::stat(QFile::encodeName(s.path).constData(), &st) == 0 && S_ISREG(st.st_mode);
    const qint64 mtime = exists ? qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec : 0;
    if (s.loaded && exists == s.exists && (!exists || (mtime == s.mtimeNs && qint64(st.st_size) == s.size &&
                                                       quint64(st.st_ino) == s.inode)))
        return s.hive;

    s.loaded = true;
    s.exists = exists;
    s.mtimeNs = mtime;
    s.size = exists ? qint64(st.st_size) : 0;
    s.inode = exists ? quint64(st.st_ino) : 0;
    s.hive = Hive();
    if (!exists || s.size > MaxFileSize)
        return s.hive;
    QFile f(s.path);
    if (!f.open(QIODevice::ReadOnly))
        return s.hive;
    const QByteArray bytes = f.read(s.size);  // no more than was checked above
    ++parseCount_;
    s.hive = s.mount.isEmpty() ? parseRegFile(bytes) : parseWineFile(bytes, s.mount);
    return s.hive;
}

QHash<QString, QString> Registry::wineEnvironment() {
    QHash<QString, QString> env;
    if (winePrefix_.isEmpty())
        return env;
    const Hive& h = hive(1);
    const QString machine = rootFolded(RootKey::LocalMachine) + QLatin1Char('\\');
    auto valuesOf = [&](const char* path) -> const QHash<QString, Value>* {
        const auto it = h.keys.find(machine + QString::fromLatin1(path));
        return it == h.keys.end() ? nullptr : &it->second.values;
    };
    auto take = [&](const QHash<QString, Value>* values, const char* valueName, const char* envName) {
        if (!values)
            return;
        const auto it = values->constFind(QString::fromLatin1(valueName));
        if (it != values->constEnd() && isStringType(it->type))
            env.insert(QString::fromLatin1(envName), it->text);
    };

    env.insert(QStringLiteral("systemdrive"), QStringLiteral("C:"));
    env.insert(QStringLiteral("systemroot"), QStringLiteral("C:\\windows"));
    env.insert(QStringLiteral("windir"), QStringLiteral("%SystemRoot%"));
    auto takeAll = [&](const QHash<QString, Value>* values) {
        if (!values)
            return;
        for (auto it = values->constBegin(); it != values->constEnd(); ++it)
            if (isStringType(it->type))
                env.insert(it.key(), it->text);
    };
    takeAll(valuesOf("system\\currentcontrolset\\control\\session manager\\environment"));
    const auto* version = valuesOf("software\\microsoft\\windows\\currentversion");
    take(version, "programfilesdir", "programfiles");
    take(version, "programfilesdir (x86)", "programfiles(x86)");
    take(version, "commonfilesdir", "commonprogramfiles");
    take(version, "commonfilesdir (x86)", "commonprogramfiles(x86)");
    // What a 64-bit program sees as its own folders.
    take(version, "programfilesdir", "programw6432");
    take(version, "commonfilesdir", "commonprogramw6432");
    take(version, "programw6432dir", "programw6432");
    const auto* profiles = valuesOf("software\\microsoft\\windows nt\\currentversion\\profilelist");
    take(profiles, "programdata", "allusersprofile");
    take(profiles, "programdata", "programdata");
    take(profiles, "public", "public");
    take(profiles, "profilesdirectory", "profilesdirectory");
    // What Wine gives a user without the profile values of a newer prefix.
    if (env.contains(QStringLiteral("profilesdirectory"))) {
        env.insert(QStringLiteral("userprofile"), QStringLiteral("%ProfilesDirectory%\\") + wineUserName());
        env.insert(QStringLiteral("appdata"), QStringLiteral("%USERPROFILE%\\AppData\\Roaming"));
        env.insert(QStringLiteral("localappdata"), QStringLiteral("%USERPROFILE%\\AppData\\Local"));
    }
    // The user's own values and those Wine sets at each log-on override the machine's.
    const Hive& user = hive(3);
    for (const char* key : {"environment", "volatile environment"}) {
        const auto it = user.keys.find(rootFolded(RootKey::CurrentUser) + QLatin1Char('\\') + QString::fromLatin1(key));
        if (it != user.keys.end())
            takeAll(&it->second.values);
    }

    // The values name each other; a few rounds settle any sane chain.
    for (int round = 0; round < 8; ++round) {
        bool changed = false;
        for (auto it = env.begin(); it != env.end(); ++it) {
            if (!it->contains(QLatin1Char('%')))
                continue;
            const QString expanded = expand(*it, env, false);
            if (expanded != *it) {
                *it = expanded;
                changed = true;
            }
        }
        if (!changed)
            break;
    }
    return env;
}

std::optional<RegistryKey> Registry::openKey(RootKey root, const QString& keyPath) {
    const QString rest = normalizedPath(keyPath);
    const QString base = rootFolded(root);
    QStringList views{rest.isEmpty() ? base : base + QLatin1Char('\\') + rest};
    const QStringList parts = rest.split(QLatin1Char('\\'));
    if (root == RootKey::LocalMachine && parts.size() >= 2 && parts[0] == QLatin1String("software") &&
        parts[1] != QLatin1String("wow6432node"))
        views.append(base + QStringLiteral("\\software\\wow6432node\\") + parts.mid(1).join(QLatin1Char('\\')));

    QList<int> order{0};
    if (root == RootKey::LocalMachine)
        order.append(1);
    else if (root == RootKey::Users)
        order.append(2);
    else if (root == RootKey::CurrentUser)
        order.append(3);

    QList<bool> alive(views.size(), true);
    for (int index : order) {
        const Hive& h = hive(index);
        for (qsizetype v = 0; v < views.size(); ++v) {
            if (!alive[v])
                continue;
            const auto it = h.keys.find(views[v]);
            if (it != h.keys.end()) {
                RegistryKey key;
                key.key_ = it->second;
                key.winePrefix_ = winePrefix_;
                key.wow64_ = v > 0;
                if (!key.key_.values.isEmpty())
                    key.environment_ = wineEnvironment();
                return key;
            }
            if (hiddenBy(h.deleted, views[v]))
                alive[v] = false;
        }
    }
    return std::nullopt;
}

QString Registry::readString(RootKey root, const QString& keyPath, const QString& name) {
    const auto key = openKey(root, keyPath);
    if (!key)
        return {};
    return key->readString(name).value_or(QString());
}

}  // namespace platform
