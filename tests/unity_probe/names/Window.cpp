// The neighbour: compiled after the page in one unity source, its call could
// reach the page's helper instead of its own.
void Write(long* field, long value) { *field = value; }

void ShowWindow(long* field) { Write(field, 2); }

namespace units {}
using namespace units;
