// The road job in the page against talver-batch on one thread, timed in the
// same run: the two alternate, several times, and the medians are compared.
// The page's time is the engine's (from the worker's call to its outputs)
// and the click's (from Compute to the report shown).
//   TALVER_SITE=build-web/site TALVER_BATCH=build/talver-batch node web/tests/bench-road.js [REPEATS]
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const { serveFolder } = require("./static-server.js");
const { site, examples, roadArguments, launchBrowser, runBatch, openPage, chooseRoadJob, computeInPage } =
    require("./page-driver.js");

const repeats = Number(process.argv[2] || 7);
const median = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};

(async () => {
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-bench-"));
    fs.copyFileSync(path.join(examples, "groups.csv"), path.join(scratch, "groups.csv"));
    const browser = await launchBrowser();
    const server = await serveFolder(site);
    const { page } = await openPage(browser, server.url + "index.html", server.url);
    await chooseRoadJob(page, path.join(examples, "groups.csv"));
    // The first run of each is apart: the browser compiles the module's hot
    // functions again, optimised, while it runs them.
    const firstBatch = runBatch(roadArguments.concat(["--output", "batch.txt"]), scratch);
    const firstPage = await computeInPage(page);
    console.log(`first run: talver-batch ${firstBatch.seconds.toFixed(3)} s, page ${firstPage.engine.toFixed(2)} s ` +
        `(ratio ${(firstPage.engine / firstBatch.seconds).toFixed(2)}; shown after ${firstPage.shown.toFixed(2)} s)`);
    const times = { batch: [], engine: [], shown: [] };
    console.log(`load before: ${fs.readFileSync("/proc/loadavg", "utf8").trim()}`);
    for (let i = 0; i < repeats; ++i) {
        const run = runBatch(roadArguments.concat(["--output", "batch.txt"]), scratch);
        if (run.status !== 0) { throw new Error(run.stderr); }
        const inPage = await computeInPage(page);
        times.batch.push(run.seconds);
        times.engine.push(inPage.engine);
        times.shown.push(inPage.shown);
        console.log(`run ${i + 1}: talver-batch ${run.seconds.toFixed(3)} s, page ${inPage.engine.toFixed(2)} s ` +
            `(shown after ${inPage.shown.toFixed(2)} s)`);
    }
    console.log(`load after: ${fs.readFileSync("/proc/loadavg", "utf8").trim()}`);
    const [b, e, s] = [median(times.batch), median(times.engine), median(times.shown)];
    console.log(`medians of ${repeats}: talver-batch ${b.toFixed(3)} s, page ${e.toFixed(3)} s (ratio ${(e / b).toFixed(2)}), ` +
        `shown after ${s.toFixed(3)} s (ratio ${(s / b).toFixed(2)})`);
    await browser.close();
    server.close();
    fs.rmSync(scratch, { recursive: true, force: true });
})();
