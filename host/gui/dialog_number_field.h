#pragma once

// What a number or length field adds to its control: the printf conversion of one double it is shown with
// and the range the user may enter.

#include <string>

#include "host/gui/dialog_controls.h"
#include "host_api/unit_service.h"

bool isNumberField(const DialogControl& control);
// False, changing nothing, for a control that is no number field, a format that is not exactly one
// conversion of a double (flags, width and precision allowed; "%%" as text) or minimum above maximum.
bool setNumberFormat(DialogControl& field, const std::string& format, double minimum, double maximum);
bool inRange(const DialogControl& field, double value);
// The factor from the stored value to the shown one: a length field keeps metres and shows them in the user's
// current unit (as a module without units does, in metres, without the service); any other field shows what
// it keeps.
double shownFactor(const DialogControl& field, IUnitService* units);
// The factor from metres to the user's current unit; 1 without units.
double lengthFactor(IUnitService* units);
// The value as the field shows it (multiplied by factor): in its format, or with 17 significant digits
// without one.
std::string shownNumber(const DialogControl& field, double factor);
