// The target that makes the component's precompiled header; it has no code of its own.
