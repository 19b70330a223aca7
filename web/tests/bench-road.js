// The road job in the page against talver-batch on one thread, timed in the
// same run: they alternate, several times, and the medians are compared.
// The page's time is the engine's (from the worker's call to its outputs);
// the time from the click on Compute to the report shown is given beside
// it. The first run of a page is apart: the browser compiles the module's
// hot functions again, optimised, while it runs them. Given several built
// pages (for example of two compiler settings), each is timed in turn
// within every repeat.
//   TALVER_BATCH=build/talver-batch node web/tests/bench-road.js [REPEATS] [SITE...]
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const { serveFolder } = require("./static-server.js");
const { site, examples, roadArguments, launchBrowser, runBatch, openPage, chooseRoadJob, computeInPage } =
    require("./page-driver.js");

const repeats = Number(process.argv[2] || 7);
const sites = process.argv.length > 3 ? process.argv.slice(3).map((p) => path.resolve(p)) : [site];
const median = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const load = () => fs.readFileSync("/proc/loadavg", "utf8").split(" ").slice(0, 3).join(" ");

(async () => {
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-bench-"));
    fs.copyFileSync(path.join(examples, "groups.csv"), path.join(scratch, "groups.csv"));
    const batchRun = () => {
        const run = runBatch(roadArguments.concat(["--output", "batch.txt"]), scratch);
        if (run.status !== 0) { throw new Error(run.stderr); }
        return run.seconds;
    };
    const browser = await launchBrowser();
    console.log(`load before: ${load()}`);
    const pages = [];
    for (const folder of sites) {
        const server = await serveFolder(folder);
        const { page } = await openPage(browser, server.url + "index.html", server.url);
        await chooseRoadJob(page, path.join(examples, "groups.csv"));
        const batchFirst = batchRun();
        const first = await computeInPage(page);
        console.log(`${folder}: first run ${first.engine.toFixed(2)} s in the page, ${batchFirst.toFixed(3)} s in ` +
            `talver-batch (ratio ${(first.engine / batchFirst).toFixed(2)}); size ` +
            `${(fs.statSync(path.join(folder, "engine-source.js")).size / 1e6).toFixed(2)} MB`);
        pages.push({ folder, server, page, batch: [], engine: [], shown: [] });
    }
    for (let i = 0; i < repeats; ++i) {
        for (const p of pages) {
            p.batch.push(batchRun());
            const inPage = await computeInPage(p.page);
            p.engine.push(inPage.engine);
            p.shown.push(inPage.shown);
        }
    }
    console.log(`load after: ${load()}`);
    for (const p of pages) {
        const [b, e, s] = [median(p.batch), median(p.engine), median(p.shown)];
        console.log(`${p.folder}: medians of ${repeats}: talver-batch ${b.toFixed(3)} s, page ${e.toFixed(3)} s ` +
            `(ratio ${(e / b).toFixed(2)}), shown after ${s.toFixed(3)} s (ratio ${(s / b).toFixed(2)})`);
        p.server.close();
    }
    await browser.close();
    fs.rmSync(scratch, { recursive: true, force: true });
})();
