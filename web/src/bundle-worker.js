// Writes the script that the page loads to start its workers: the engine's
// loader and worker.js as one text, which the page turns into a blob, and
// the engine's WebAssembly in base64, which the page compiles once. Browsers
// start no worker from a file:// address and fetch no file there, but any
// page may start a worker from a blob it made.
//   node bundle-worker.js worker.js talver-engine.js talver-engine.wasm engine-source.js
"use strict";
const fs = require("fs");
const [workerPath, enginePath, binaryPath, outPath] = process.argv.slice(2);
const source = fs.readFileSync(enginePath, "utf8") + "\n" + fs.readFileSync(workerPath, "utf8");
fs.writeFileSync(outPath, "// Made by scripts/build-web.sh from web/src/worker.js and the engine.\n" +
    "var TALVER_WORKER_SOURCE = " + JSON.stringify(source) + ";\n" +
    "var TALVER_ENGINE_BINARY = \"" + fs.readFileSync(binaryPath).toString("base64") + "\";\n");
