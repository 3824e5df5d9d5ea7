#pragma once
// The dataset's Filter text, parsed once and evaluated per record through the fields.
#include "DBTypes.h"
#include "platform/rtl/Variant.h"
#include <QString>
#include <memory>
#include <vector>

class TDataSet;

class TFilterExpr {
public:
    // Raises EDatabaseError for a malformed text.
    static std::shared_ptr<TFilterExpr> Parse(const QString& text);
    // True when the dataset's record being filtered passes.
    bool Matches(TDataSet* ds, TFilterOptions options) const;

    struct Node;
private:
    std::shared_ptr<Node> m_root;
};
