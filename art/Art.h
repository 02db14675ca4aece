#pragma once

// The product's pictures and agreement text, embedded as resources under ":/art/" (for example
// ":/art/trainer-background.png", ":/art/agreement.txt").
namespace art {

// Registers the embedded resources. The library is static, so the linker would drop them unless this
// is called once before the first picture is loaded (in main and in each test's initTestCase).
void initResources();

} // namespace art
