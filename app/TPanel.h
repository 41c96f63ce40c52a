#pragma once

#include "platform/widgets/Control.h"

// The main window's panel around the address and password fields: a raised inner
// bevel inside a lowered outer one, which reads as an etched frame. It is a class of
// the program's own windows only; sheets cannot create it.
class TPanel : public TCustomControl {
    Q_OBJECT
public:
    explicit TPanel(TComponent* owner = nullptr);
};
