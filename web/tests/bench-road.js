// The road job in the page against talver-batch on one thread, timed in the
// same run: they alternate, several times, and the medians are compared.
// The page's time is the engine's (from the worker's call to its outputs);
// the time from the click on Compute to the report shown is given beside
// it. On a loaded machine wall times say little, so CPU times are compared
// too: talver-batch's (user + system), and the browser's over the click to
// the report, all its processes and threads together (the optimising
// compiler's included). The first run of a page is apart: the browser compiles the module's
// hot functions again, optimised, while it runs them. Given several built
// pages (for example of two compiler settings), each is timed in turn
// within every repeat.
//   TALVER_BATCH=build/talver-batch node web/tests/bench-road.js [REPEATS] [SITE...]
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const { serveFolder } = require("./static-server.js");
const { site, batch, examples, roadArguments, launchBrowser, openPage, chooseRoadJob, computeInPage } =
    require("./page-driver.js");

const repeats = Number(process.argv[2] || 7);
const sites = process.argv.length > 3 ? process.argv.slice(3).map((p) => path.resolve(p)) : [site];
const median = (values) => {
    const sorted = values.slice().sort((a, b) => a - b);
    const middle = Math.floor(sorted.length / 2);
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const ticks = Number(execFileSync("getconf", ["CLK_TCK"]).toString());

// CPU seconds of process `root` and of every process below it.
function cpuOfTree(root) {
    const stats = fs.readdirSync("/proc").filter((name) => /^\d+$/.test(name)).map((pid) => {
        try {
            const fields = fs.readFileSync(`/proc/${pid}/stat`, "utf8").replace(/^.*\) /, "").split(" ");
            return { pid: Number(pid), parent: Number(fields[1]), cpu: (Number(fields[11]) + Number(fields[12])) / ticks };
        } catch (gone) {
            return null;
        }
    }).filter((stat) => stat);
    const inTree = new Set([root]);
    let grown = true;
    while (grown) {
        grown = false;
        for (const stat of stats) {
            if (!inTree.has(stat.pid) && inTree.has(stat.parent)) { inTree.add(stat.pid); grown = true; }
        }
    }
    return stats.filter((stat) => inTree.has(stat.pid)).reduce((sum, stat) => sum + stat.cpu, 0);
}

const load = () => fs.readFileSync("/proc/loadavg", "utf8").split(" ").slice(0, 3).join(" ");

(async () => {
    const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "talver-bench-"));
    fs.copyFileSync(path.join(examples, "groups.csv"), path.join(scratch, "groups.csv"));
    // talver-batch on one thread: wall and CPU seconds.
    const batchRun = () => {
        const started = process.hrtime.bigint();
        execFileSync("/usr/bin/time", ["-f", "%U %S", "-o", "cpu.txt", batch].concat(roadArguments,
            ["--threads", "1", "--output", "batch.txt"]), { cwd: scratch, stdio: "ignore" });
        const [user, system] = fs.readFileSync(path.join(scratch, "cpu.txt"), "utf8").trim().split(" ").map(Number);
        return { wall: Number(process.hrtime.bigint() - started) / 1e9, cpu: user + system };
    };
    const browser = await launchBrowser();
    // This process and its children: the browser, with little of our own.
    const browserPid = process.pid;
    const pageRun = async (page) => {
        const before = cpuOfTree(browserPid);
        const times = await computeInPage(page);
        return Object.assign(times, { cpu: cpuOfTree(browserPid) - before });
    };
    console.log(`load before: ${load()}`);
    const pages = [];
    for (const folder of sites) {
        const server = await serveFolder(folder);
        const { page } = await openPage(browser, server.url + "index.html", server.url);
        await chooseRoadJob(page, path.join(examples, "groups.csv"));
        const batchFirst = batchRun();
        const first = await pageRun(page);
        console.log(`${folder}: first run ${first.engine.toFixed(2)} s in the page, ${batchFirst.wall.toFixed(3)} s in ` +
            `talver-batch (ratio ${(first.engine / batchFirst.wall).toFixed(2)}); CPU ${first.cpu.toFixed(2)} s and ` +
            `${batchFirst.cpu.toFixed(2)} s (ratio ${(first.cpu / batchFirst.cpu).toFixed(2)}); size ` +
            `${(fs.statSync(path.join(folder, "engine-source.js")).size / 1e6).toFixed(2)} MB`);
        pages.push({ folder, server, page, batch: [], batchCpu: [], engine: [], shown: [], cpu: [] });
    }
    for (let i = 0; i < repeats; ++i) {
        for (const p of pages) {
            const run = batchRun();
            p.batch.push(run.wall);
            p.batchCpu.push(run.cpu);
            const inPage = await pageRun(p.page);
            p.engine.push(inPage.engine);
            p.shown.push(inPage.shown);
            p.cpu.push(inPage.cpu);
        }
    }
    console.log(`load after: ${load()}`);
    for (const p of pages) {
        const [b, e, s] = [median(p.batch), median(p.engine), median(p.shown)];
        console.log(`${p.folder}: medians of ${repeats}: talver-batch ${b.toFixed(3)} s, page ${e.toFixed(3)} s ` +
            `(ratio ${(e / b).toFixed(2)}), shown after ${s.toFixed(3)} s (ratio ${(s / b).toFixed(2)}); CPU ` +
            `${median(p.batchCpu).toFixed(2)} s and ${median(p.cpu).toFixed(2)} s in the browser ` +
            `(ratio ${(median(p.cpu) / median(p.batchCpu)).toFixed(2)})`);
        p.server.close();
    }
    await browser.close();
    fs.rmSync(scratch, { recursive: true, force: true });
})();
