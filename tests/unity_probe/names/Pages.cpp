// A page that keeps a helper to itself under a name its neighbour calls.
namespace {

void Write(int* label, int value) { *label = value; }

} // namespace

void ShowPage(int* label) { Write(label, 1); }
