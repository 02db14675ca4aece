// libFuzzer target for what the settings store takes from outside: stored count text, names of any
// form, and a store file of any content. The first byte picks the part; a broken rule aborts.
//   0: readCount agrees with a plain reading of the rule (whole decimal numbers, clamped 0..32767)
//   1: a name folds to a fixed point, and an entry written under it is found under its folded form
//      with its value returned exactly
//   2: a store file holding the bytes: opening it never crashes, the store works afterwards, and a
//      file set aside holds exactly the bytes it was found with
//   3: as 2, but the bytes are (offset, value) patches onto a sound store, which reach far deeper
//      into SQLite's checks than random files

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const QString kApplication = QStringLiteral("Orvanta");
// The last fault the store reported, printed when a rule breaks.
QString g_lastReport;

void require(bool rule, const char *what)
{
    if (!rule) {
        std::fprintf(stderr, "broken rule: %s\nlast store report: %s\n", what, qUtf8Printable(g_lastReport));
        std::abort();
    }
}

std::unique_ptr<QTemporaryDir> g_folder;
QByteArray g_soundStore;
int g_namesWritten = 0;

QString folderPath()
{
    return g_folder->path();
}

QString storePath(const QString &name)
{
    return folderPath() + u'/' + name;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void clearFolder(const QString &path)
{
    QDir folder(path);
    for (const QString &name :
         folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        QFile::remove(folder.filePath(name));
}

// The rule written out the slow way, to hold readCount to.
int expectedCount(const QByteArray &text)
{
    qsizetype start = text.startsWith('-') ? 1 : 0;
    if (start == text.size())
        return 0;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
    }
    if (start == 1)
        return 0;
    QByteArray digits = text;
    while (digits.size() > 1 && digits.startsWith('0'))
        digits.remove(0, 1);
    if (digits.size() > 5 || (digits.size() == 5 && digits > "32767"))
        return 32767;
    return digits.toInt();
}

void checkCount(const QByteArray &bytes)
{
    const int count = readCount(QString::fromLatin1(bytes));
    require(count >= 0 && count <= 32767, "count in 0..32767");
    require(count == expectedCount(bytes), "count follows the rule");
    // The same text arriving as UTF-8 (the store's form) reads the same wherever it is plain ASCII.
    const QString utf8 = QString::fromUtf8(bytes);
    if (utf8.toLatin1() == bytes)
        require(readCount(utf8) == count, "same count from UTF-8");
}

void checkName(const QByteArray &bytes)
{
    const QString name = QString::fromUtf8(bytes);
    const QString folded = SettingsStore::foldName(name);
    require(SettingsStore::foldName(folded) == folded, "folding is idempotent");

    // Past some thousands of entries the store only slows the run down: start a new one.
    if (++g_namesWritten % 5000 == 0) {
        resetSettingsStore();
        clearFolder(folderPath() + QStringLiteral("/qxOrvanta"));
    }
    const QString value = name + QChar(u'\0') + name;
    SaveSetting(kApplication, name, name, value);
    require(GetSetting(kApplication, folded, folded, QStringLiteral("missing")) == value,
            "found by folded name");
}

void checkStoreFile(const QByteArray &bytes)
{
    clearFolder(folderPath());
    const QString path = storePath(QStringLiteral("settings.sqlite3"));
    {
        QFile file(path);
        require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "store file written");
    }
    {
        g_lastReport.clear();
        SettingsStore store(path, [](const QString &message) { g_lastReport = message; });
        store.value(kApplication, QStringLiteral("Alice"), QStringLiteral("Hits"), QString());
        require(store.setValue(kApplication, QStringLiteral("Fuzz"), QStringLiteral("Tries"),
                               QStringLiteral("5")),
                "store writable afterwards");
        require(store.value(kApplication, QStringLiteral("FUZZ"), QStringLiteral("tries"), QString()) ==
                    QLatin1String("5"),
                "value read back");
    }
    // Nothing lost: either the file was used as it is, or it is aside byte for byte.
    const QStringList aside =
        QDir(folderPath()).entryList({QStringLiteral("settings.sqlite3.unusable-*")}, QDir::Files);
    for (const QString &name : aside) {
        if (!name.endsWith(QLatin1String("-wal")) && !name.endsWith(QLatin1String("-shm")))
            require(readFile(storePath(name)) == bytes, "file kept aside unchanged");
    }
}

QByteArray patchedStore(const std::uint8_t *data, size_t size)
{
    QByteArray image = g_soundStore;
    for (size_t i = 0; i + 3 <= size; i += 3) {
        const qsizetype offset = qsizetype((data[i] | data[i + 1] << 8) % image.size());
        image[offset] = char(data[i + 2]);
    }
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // A RAM-backed folder when there is one: every store write is synced to disk.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    g_folder = std::make_unique<QTemporaryDir>(base + QStringLiteral("/fuzz_settings-XXXXXX"));
    qputenv("XDG_CONFIG_HOME", g_folder->path().toUtf8());
    setStoreFaultReporter([](const QString &) {});

    const QString soundPath = storePath(QStringLiteral("sound.sqlite3"));
    {
        SettingsStore store(soundPath);
        for (int n = 0; n < 20; ++n) {
            const QString user = QStringLiteral("User%1").arg(n);
            store.setValues({kApplication,
                             user,
                             {{QStringLiteral("UserName"), user},
                              {QStringLiteral("Password"), QString(60 + n, u'p')},
                              {QStringLiteral("Hits"), QString::number(n)},
                              {QStringLiteral("Tries"), QString::number(3 * n)}},
                             {}},
                            WhenRefused::Drop);
        }
    }
    g_soundStore = readFile(soundPath);
    QFile::remove(soundPath);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    switch (data[0] % 4) {
    case 0:
        checkCount(bytes);
        break;
    case 1:
        checkName(bytes);
        break;
    case 2:
        checkStoreFile(bytes);
        break;
    default:
        checkStoreFile(patchedStore(data + 1, size - 1));
        break;
    }
    return 0;
}
