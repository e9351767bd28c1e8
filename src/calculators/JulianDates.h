// Calendar arithmetic of the unit conversion's time family: a moment as a day
// count from 1899-12-30 00:00 (the whole part the day, the absolute value of the
// fraction the time of day, so -1.25 is 1899-12-29 06:00) and as a Julian or
// modified Julian date. Dates are those of the Gregorian calendar in the years
// 1 to 9999; one outside them throws ConversionError with the value in its text.
#pragma once

namespace calculators {

double DaysToJulian(double days);
double JulianToDays(double julian);
double DaysToModifiedJulian(double days);
double ModifiedJulianToDays(double mjd);

} // namespace calculators
