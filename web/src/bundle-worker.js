// Writes the script that the page loads to start its worker: the engine's
// module and worker.js, as one text in a global, which the page turns into a
// blob. Browsers start no worker from a file:// address, but any page may
// start one from a blob it made.
//   node bundle-worker.js worker.js talver-engine.js engine-source.js
"use strict";
const fs = require("fs");
const [workerPath, enginePath, outPath] = process.argv.slice(2);
const source = fs.readFileSync(enginePath, "utf8") + "\n" + fs.readFileSync(workerPath, "utf8");
fs.writeFileSync(outPath, "// Made by scripts/build-web.sh from web/src/worker.js and the engine.\n" +
    "var TALVER_WORKER_SOURCE = " + JSON.stringify(source) + ";\n");
