#include "app/HiClass.h"

#include "app/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

QString THi::AppDir()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString THi::AppPath()
{
    return AppDir() + QDir::separator();
}

QString THi::AppDataDir(const QString& name)
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString sub = name.isEmpty() ? QCoreApplication::applicationName() : name;
    const QString path = QDir::cleanPath(base + QLatin1Char('/') + sub);
    if (!QFileInfo(path).isDir()) {
        // The data location itself may not exist yet on a fresh account.
        if (!QDir().mkpath(path))
            throw FileError(QStringLiteral("无法创建文件夹：%1").arg(QDir::toNativeSeparators(path)));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    return QFileInfo(path).isDir() ? QDir::toNativeSeparators(path) : QString();
}

QDate THi::StrToDateEx(const QString& text, const QString& pattern, const QString& separator)
{
    const QChar sep = separator.isEmpty() ? QLatin1Char('-') : separator.at(0);
    const QStringList fields = pattern.toLower().split(QRegularExpression(QStringLiteral("[^ymd]+")),
                                                       Qt::SkipEmptyParts);
    const QStringList parts = text.split(sep);
    int y = -1, m = -1, d = -1;
    bool ok = fields.size() == 3 && parts.size() == 3;
    for (int i = 0; ok && i < 3; ++i) {
        const QString& part = parts[i];
        static const QRegularExpression digits(QStringLiteral("^[0-9]{1,4}$"));
        if (!digits.match(part).hasMatch()) {
            ok = false;
            break;
        }
        const int value = part.toInt();
        switch (fields[i].at(0).toLatin1()) {
        case 'y': y = value; break;
        case 'm': m = value; break;
        case 'd': d = value; break;
        default: ok = false;
        }
    }
    const QDate date(y, m, d);
    if (!ok || !date.isValid())
        throw ConvertError(QStringLiteral("“%1”不是有效的日期").arg(text));
    return date;
}

QDate THi::StrToDateYmd(const QString& text)
{
    return StrToDateEx(text, QStringLiteral("yyyy-mm-dd"), QStringLiteral("-"));
}

QString THi::DateYmd(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString THi::EncodeField(const QString& text)
{
    if (text.isEmpty())
        return QString();
    QStringEncoder encoder("GB18030");
    const QByteArray bytes = encoder.encode(text);
    return QString::fromLatin1(bytes.toBase64());
}

QString THi::DecodeField(const QByteArray& field)
{
    if (field.isEmpty())
        return QString();
    QStringDecoder decoder("GB18030");
    return decoder.decode(QByteArray::fromBase64(field));
}

QString THi::DecodeField(const QString& field)
{
    return DecodeField(field.toLatin1());
}

QString THi::Trim(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString THi::LowerAscii(const QString& text)
{
    QString result = text;
    for (QChar& c : result) {
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + ('a' - 'A'));
    }
    return result;
}

QString THi::FormatAmount(double value)
{
    const QString text = QString::number(value, 'f', 2);
    // A difference of sums can be a hair below zero; it is no debt.
    return text == QLatin1String("-0.00") ? QStringLiteral("0.00") : text;
}

bool THi::HasExtension(const QString& fileName, const QString& extension)
{
    const QString name = QFileInfo(fileName).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot >= 0 && name.mid(dot).compare(extension, Qt::CaseInsensitive) == 0;
}

QString THi::WithExtension(const QString& fileName, const QString& extension)
{
    return HasExtension(fileName, extension) ? fileName : fileName + extension;
}

QByteArray THi::ReadFileText(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("无法读取文件 %1：%2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    return bytes;
}

void THi::WriteFileText(const QString& fileName, const QByteArray& bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError(QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

QString THi::ReadResourceText(const QString& name)
{
    QFile file(QStringLiteral(":/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw ZError(QStringLiteral("找不到资源 %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

bool THi::RunProgram(const QString& programPath, const QString& parameters, const QString& workingDir,
                     int /*showWindow*/)
{
    QString program = programPath;
    program.remove(QLatin1Char('"'));
    const QStringList args = QProcess::splitCommand(parameters);
    const QString dir = !workingDir.isEmpty() && QFileInfo(workingDir).isDir() ? workingDir : QDir::currentPath();
    return QProcess::startDetached(program, args, dir);
}

bool THi::CanOpenGraphicalSession(QString* why)
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool wantsDisplay = platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    if (!wantsDisplay)
        return true;
    const QByteArray display = qgetenv("DISPLAY");
    if (!qgetenv("WAYLAND_DISPLAY").isEmpty())
        return true;
    if (display.isEmpty()) {
        if (why)
            *why = QStringLiteral("无法打开图形界面：没有可用的显示（DISPLAY 未设置）。\n"
                                  "Zendrel must be started in a graphical session.");
        return false;
    }
    // A local display ":N" must have its socket; remote ones are left to the toolkit.
    static const QRegularExpression local(QStringLiteral("^(unix)?:([0-9]+)(\\.[0-9]+)?$"));
    const auto m = local.match(QString::fromLocal8Bit(display));
    if (m.hasMatch()) {
        const QString socket = QStringLiteral("/tmp/.X11-unix/X") + m.captured(2);
        if (!QFileInfo::exists(socket)) {
            if (why)
                *why = QStringLiteral("无法打开图形界面：显示 %1 不存在。\n"
                                      "Zendrel must be started in a graphical session.")
                           .arg(QString::fromLocal8Bit(display));
            return false;
        }
    }
    return true;
}
