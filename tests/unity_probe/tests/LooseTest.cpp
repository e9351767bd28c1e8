// A test file whose helper stands at the top, outside a namespace of its own.
int Helper() { return 1; }
