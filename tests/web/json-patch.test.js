"use strict";
// The pages' JSON Patch applier (web/common.js) against the public RFC 6902
// test suite: every case that is not disabled gives its expected document,
// or throws where the case names an error.
// node json-patch.test.js COMMON_JS NODE_MODULES
const assert = require("assert");
const fs = require("fs");
const path = require("path");

const [script, modules] = process.argv.slice(2);
const suite = path.join(modules, "json-patch-test-suite");
if (!fs.existsSync(suite)) {
  console.log("skipped: json-patch-test-suite was not fetched (the npm registry was out of reach)");
  process.exit(77);
}
globalThis.location = { search: "" }; // the page reads its address on load
const Pylonix = new Function(fs.readFileSync(script, "utf8") + "\nreturn Pylonix;")();

let passed = 0;
let failed = 0;
for (const file of ["tests.json", "spec_tests.json"]) {
  for (const test of JSON.parse(fs.readFileSync(path.join(suite, file), "utf8"))) {
    if (test.disabled) continue;
    const name = file + ": " + (test.comment || JSON.stringify(test.patch));
    try {
      if (test.error) {
        assert.throws(() => Pylonix.applyPatch(test.doc, test.patch));
      } else {
        const result = Pylonix.applyPatch(test.doc, test.patch);
        if ("expected" in test) assert.deepStrictEqual(result, test.expected);
      }
      ++passed;
    } catch (error) {
      ++failed;
      console.log("FAIL " + name + ": " + error.message);
    }
  }
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 && passed > 0 ? 0 : 1);
