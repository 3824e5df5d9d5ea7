#pragma once
// One replaceable sink for the messages the non-visual code shows to the user. The GUI
// layer installs its dialog service here; tests install a recorder and read every text.
#include <QString>
#include <functional>

enum class MsgKind { Information, Warning, Error, Confirmation };

struct MessageSink {
    // Shows text; for a Confirmation returns true for yes/OK. Default without a GUI: prints to stderr, answers true.
    using Handler = std::function<bool(MsgKind kind, const QString& text, const QString& caption)>;
    static void Set(Handler h);          // empty restores the default
    static bool Show(MsgKind kind, const QString& text, const QString& caption = QString());
};

// ShowMessage as the class library's: an information box with the application's title.
inline void ShowMessage(const QString& text) { MessageSink::Show(MsgKind::Information, text); }
