// A library with Register but without package information.
extern "C" void Register() {}
