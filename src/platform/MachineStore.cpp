#include "platform/MachineStore.h"

#include <QDateTime>
#include <QSettings>

#include "core/Random.h"

namespace gr {

namespace {
const QString kMachineKey = QStringLiteral("Machine");
const QString kIdentifier = QStringLiteral("Identifier");
const QString kProtectionKey = QStringLiteral("Protection");
const QString kBanned = QStringLiteral("Banned");
const QString kDayBan = QStringLiteral("DayBan");
const QString kDayBanDate = QStringLiteral("DayBanDate");

QString TodayGmt() { return QDateTime::currentDateTimeUtc().date().toString(Qt::ISODate); }
} // namespace

MachineStore::MachineStore(const QString& path) : Store(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

MachineStore::~MachineStore() = default;

QString MachineStore::RegRead(const QString& key, const QString& valueName) {
    const QVariant value = Store->value(key + QLatin1Char('/') + valueName);
    RegStatus = Store->status() == QSettings::NoError ? 0 : 1;
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

void MachineStore::RegWrite(const QString& key, const QString& valueName, const QString& text) {
    Store->setValue(key + QLatin1Char('/') + valueName, text);
    Store->sync();
    RegStatus = Store->status() == QSettings::NoError ? 0 : 1;
}

bool MachineStore::EnsureMachineIdentifier(RandomSource& random) {
    if (!MachineIdentifier().isEmpty()) return true;
    QString id;
    for (int i = 0; i < 16; ++i) id += QString::number(random.Between(0, 15), 16).toUpper();
    RegWrite(kMachineKey, kIdentifier, id);
    if (RegStatus != 0) return false;
    // Read back from the file itself, not from the store's cache.
    QSettings check(Store->fileName(), QSettings::IniFormat);
    return check.value(kMachineKey + QLatin1Char('/') + kIdentifier).toString() == id;
}

QString MachineStore::MachineIdentifier() { return RegRead(kMachineKey, kIdentifier); }

bool MachineStore::HasBanRecord() { return RegRead(kProtectionKey, kBanned) == QLatin1String("1"); }

void MachineStore::RecordBan() { RegWrite(kProtectionKey, kBanned, QStringLiteral("1")); }

std::optional<QString> MachineStore::ActiveDayBan() {
    if (RegRead(kProtectionKey, kDayBanDate) != TodayGmt()) return std::nullopt;
    return RegRead(kProtectionKey, kDayBan);
}

void MachineStore::RecordDayBan(const QString& data) {
    RegWrite(kProtectionKey, kDayBan, data);
    RegWrite(kProtectionKey, kDayBanDate, TodayGmt());
}

void MachineStore::RemoveDayBan() {
    RegWrite(kProtectionKey, kDayBan, QString());
    RegWrite(kProtectionKey, kDayBanDate, QString());
}

} // namespace gr
