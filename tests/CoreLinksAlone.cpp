// Linked with the whole core library and nothing else: building it proves
// the core has no undefined references of its own.
int main() { return 0; }
