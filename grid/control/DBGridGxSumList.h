#pragma once
// The grid's producer of footer aggregates: inactive until a form switches it on,
// and working also while its grid is designed.
#include "grid/support/DBSumLst.h"

class TDBGridGxSumList : public TDBSumListProducer {
public:
    explicit TDBGridGxSumList(QObject* owner = nullptr) : TDBSumListProducer(owner)
    {
        FDesignTimeWork = true;
        SetActive(false);
    }
};
