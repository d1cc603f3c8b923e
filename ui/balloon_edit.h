#pragma once
// CBalloonEdit: the class of the main dialog's three password boxes. It adds
// nothing to the edit control: typed characters and keys reach the control
// unchanged.

#include "platform/edit.h"

class CBalloonEdit : public CEdit {};
