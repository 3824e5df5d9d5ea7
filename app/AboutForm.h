#pragma once
// Tfrmabout: the About box on the frame form.
#include "FormBase.h"

class Tfrmabout : public TfrmBaseform {
    Q_OBJECT
public:
    explicit Tfrmabout(QWidget* AOwner = nullptr);
};
