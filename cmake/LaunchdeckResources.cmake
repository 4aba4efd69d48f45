# Resources compiled into a module (a program or a shared library) at build time.
# Filled in with the resource compiler.
