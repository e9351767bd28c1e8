// The equipment reference documents the suite's document windows show: an equipment sheet
// per sonar family and per I2NS type, with every figure read from the tables the calculators
// compute with, and a dimensioned drawing of each head's acoustic centre and of the IMU's
// centre of measurement. A figure the coverage and TPU tables hold differently for one
// configuration stops the build instead of reaching a sheet.
#pragma once

class QDir;

namespace assets {

// spec_sonic2020.pdf ... spec_sonic2026.pdf, spec_i2ns_1.pdf ... spec_i2ns_3.pdf
void WriteEquipmentSheets(const QDir& out);

// centre_sonic2020.pdf ... centre_sonic2026.pdf, centre_i2ns_imu.pdf (see CentreDrawingTable.h)
void WriteCentreDrawings(const QDir& out);

inline void WriteReferenceDocuments(const QDir& out) {
    WriteEquipmentSheets(out);
    WriteCentreDrawings(out);
}

} // namespace assets
