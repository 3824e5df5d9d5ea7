#pragma once
// Topensql: opens one statement as a result set on a query owned by the caller. Any error
// is kept in the runner and turned into the silent abort (EAbort).
#include <QString>
#include <exception>
#include <functional>

class TADOQuery;
class Topensql;

using TopensqlEvent = std::function<void(Topensql* Sender, TADOQuery* query)>;

class Topensql {
public:
    Topensql(TADOQuery* Fadoq, const QString& tmpSql);
    virtual ~Topensql() = default;
    void Execute();
    const TopensqlEvent& opensqlEvent() const { return FopensqlEvent; }
    void SetopensqlEvent(TopensqlEvent e) { FopensqlEvent = std::move(e); }
    std::exception_ptr LastException() const { return FopensqlException; }

private:
    TADOQuery* Fadoquery;
    QString Fsql;
    std::exception_ptr FopensqlException;
    TopensqlEvent FopensqlEvent;
};
