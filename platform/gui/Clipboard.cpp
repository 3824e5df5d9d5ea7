#include "Clipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QMimeData>
#include <cstring>

namespace {

QHash<QString, unsigned>& formatIds()
{
    static QHash<QString, unsigned> ids;
    return ids;
}

QString formatName(unsigned format)
{
    const auto& ids = formatIds();
    for (auto it = ids.begin(); it != ids.end(); ++it)
        if (it.value() == format) return it.key();
    return QString();
}

bool isText(unsigned format) { return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT; }

QString mimeOf(unsigned format)
{
    QString name = formatName(format);
    // Named formats that the desktop knows by a MIME type of their own.
    if (name == QLatin1String("csv")) return QStringLiteral("text/csv");
    if (name == QLatin1String("rich text format")) return QStringLiteral("text/rtf");
    if (name.isEmpty()) name = QString::number(format);
    return QStringLiteral("application/x-dpx-clipboard;format=\"%1\"").arg(name);
}

TClipboard* g_clipboard = nullptr;
void freeClipboard()
{
    delete g_clipboard;
    g_clipboard = nullptr;
}

} // namespace

unsigned RegisterClipboardFormat(const QString& name)
{
    auto& ids = formatIds();
    QString key = name.toLower();
    auto it = ids.find(key);
    if (it != ids.end()) return it.value();
    unsigned id = 0xC000u + unsigned(ids.size());
    ids.insert(key, id);
    return id;
}

TClipboard::TClipboard() = default;
TClipboard::~TClipboard() = default;

void TClipboard::Open()
{
    if (m_open++ == 0) {
        m_placed = false;
        m_pending.reset();
    }
}

void TClipboard::Close()
{
    if (m_open == 0) return;
    if (--m_open == 0 && m_placed && m_pending) {
        QGuiApplication::clipboard()->setMimeData(m_pending.release());
        m_placed = false;
    }
}

void TClipboard::Clear()
{
    Open();
    placing();
    Close();
}

const QMimeData* TClipboard::current() const
{
    if (m_placed && m_pending) return m_pending.get();
    return QGuiApplication::clipboard()->mimeData();
}

QMimeData* TClipboard::placing()
{
    if (!m_placed) {
        m_pending = std::make_unique<QMimeData>();
        m_placed = true;
    }
    return m_pending.get();
}

bool TClipboard::HasFormat(unsigned format) const
{
    const QMimeData* d = current();
    if (!d) return false;
    if (isText(format)) return d->hasText();
    return d->hasFormat(mimeOf(format));
}

QString TClipboard::AsText() const
{
    const QMimeData* d = current();
    return d && d->hasText() ? d->text() : QString();
}

void TClipboard::SetAsText(const QString& text)
{
    Open();
    placing()->setText(text);
    Close();
}

QByteArray TClipboard::GetBuffer(unsigned format) const
{
    const QMimeData* d = current();
    if (!d) return {};
    if (isText(format)) {
        if (!d->hasText()) return {};
        QString t = d->text();
        if (format == CF_UNICODETEXT) {
            QByteArray b(reinterpret_cast<const char*>(t.utf16()), t.size() * 2);
            b.append(2, '\0');
            return b;
        }
        QByteArray b = t.toLocal8Bit();
        b.append('\0');
        return b;
    }
    return d->data(mimeOf(format));
}

void TClipboard::SetBuffer(unsigned format, const QByteArray& data)
{
    Open();
    if (isText(format)) {
        QString t;
        if (format == CF_UNICODETEXT) {
            int units = int(data.size() / 2);
            t = QString(units, Qt::Uninitialized);
            memcpy(t.data(), data.constData(), size_t(units) * 2);
        } else {
            t = QString::fromLocal8Bit(data);
        }
        int nul = t.indexOf(QChar(0));
        if (nul >= 0) t.truncate(nul);
        placing()->setText(t);
    } else {
        placing()->setData(mimeOf(format), data);
    }
    Close();
}

TClipboard* Clipboard()
{
    if (!g_clipboard) {
        g_clipboard = new TClipboard;
        qAddPostRoutine(freeClipboard);
    }
    return g_clipboard;
}
