#include "Settings.h"

#include "SettingsStore.h"
#include "StoreSchema.h"

#include <QDebug>

#include <algorithm>
#include <memory>

namespace {

std::function<void(const QString &)> &faultReporter()
{
    static std::function<void(const QString &)> reporter;
    return reporter;
}

StoreSchema &schema()
{
    static StoreSchema schema;
    return schema;
}

std::unique_ptr<SettingsStore> &processStore()
{
    static std::unique_ptr<SettingsStore> store;
    return store;
}

SettingsStore &store()
{
    std::unique_ptr<SettingsStore> &store = processStore();
    if (!store) {
        store = std::make_unique<SettingsStore>(SettingsStore::defaultFilePath(), [](const QString &message) {
            if (faultReporter())
                faultReporter()(message);
            else
                qWarning().noquote() << message;
        });
        store->setSchema(schema());
    }
    return *store;
}

} // namespace

void SaveSetting(const QString &application, const QString &section, const QString &key, const QString &value)
{
    store().setValue(application, section, key, value);
}

QString GetSetting(const QString &application, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    return store().value(application, section, key, defaultValue);
}

bool SaveSettings(const QString &application, const QString &section, const QList<SettingEntry> &entries,
                  WhenRefused whenRefused)
{
    return store().setValues({application, section, entries, {}}, whenRefused);
}

bool SaveSettings(const CombinedWrite &write, WhenRefused whenRefused)
{
    return store().setValues(write, whenRefused);
}

UnsavedSettings FlushSettings()
{
    return store().flush();
}

std::int16_t readCount(const QString &text)
{
    constexpr int kMaxCount = accountstore::kLargestCount;
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative)
        i = 1;
    if (i == text.size())
        return 0;
    // Saturates instead of overflowing, so a thousand digits still read as the largest count.
    int value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return 0;
        value = std::min(value * 10 + (c - u'0'), kMaxCount + 1);
    }
    return negative ? 0 : std::int16_t(std::min(value, kMaxCount));
}

bool isSoundCount(const QString &text)
{
    if (text.isEmpty() || text.size() > 5)
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return text.toInt() <= accountstore::kLargestCount;
}

void setStoreFaultReporter(std::function<void(const QString &message)> reporter)
{
    faultReporter() = std::move(reporter);
}

void setStoreSchema(const StoreSchema &newSchema)
{
    schema() = newSchema;
    if (processStore())
        processStore()->setSchema(newSchema);
}

void resetSettingsStore()
{
    processStore().reset();
}
