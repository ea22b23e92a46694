// A loadable library without the component exports, for the registration
// tool's "entry point not found" answer.
extern "C" int PermletTestNothingHere() { return 0; }
