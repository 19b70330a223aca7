// A static file server on the loopback address for the page's tests.
"use strict";

const http = require("http");
const fs = require("fs");
const path = require("path");

const types = { ".html": "text/html; charset=utf-8", ".js": "text/javascript", ".css": "text/css" };

function serveFolder(folder) {
    const server = http.createServer((request, response) => {
        const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
        const file = path.join(folder, name.endsWith("/") ? name + "index.html" : name);
        if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            response.writeHead(404);
            response.end();
            return;
        }
        response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
        fs.createReadStream(file).pipe(response);
    });
    return new Promise((resolve) => {
        server.listen(0, "127.0.0.1", () => {
            resolve({ url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() });
        });
    });
}

module.exports = { serveFolder };
