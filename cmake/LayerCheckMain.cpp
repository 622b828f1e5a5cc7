// Links a core library whole, with nothing above it: any call back up a layer fails to link.
int main() { return 0; }
