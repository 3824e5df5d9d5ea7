#pragma once
// TClipboard: the system clipboard with the window system's formats: text
// (CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT) and formats registered by name.
// Open/Close nest; the first placement after the outermost Open empties the
// clipboard, and what was placed reaches the system at the outermost Close.
#include <QByteArray>
#include <QString>
#include <memory>

class QMimeData;

enum : unsigned { CF_TEXT = 1, CF_OEMTEXT = 7, CF_UNICODETEXT = 13 };

// Identifier of a named format; the same name always gives the same identifier (0xC000 and up).
unsigned RegisterClipboardFormat(const QString& name);

class TClipboard {
public:
    TClipboard();
    ~TClipboard();
    void Open();
    void Close();
    void Clear();
    bool HasFormat(unsigned format) const;
    QString AsText() const;
    void SetAsText(const QString& text);
    // Raw blocks: text formats as 8-bit (CF_TEXT, CF_OEMTEXT) or UTF-16 (CF_UNICODETEXT)
    // with a terminating NUL; other formats as stored.
    QByteArray GetBuffer(unsigned format) const;
    void SetBuffer(unsigned format, const QByteArray& data);
private:
    const QMimeData* current() const;
    QMimeData* placing();
    int m_open = 0;
    bool m_placed = false;
    std::unique_ptr<QMimeData> m_pending;
};

// The process-wide clipboard object.
TClipboard* Clipboard();
