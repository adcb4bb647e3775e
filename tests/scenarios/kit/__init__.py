"""The scenario kit: what every scenario test of a whole program needs.

wine      running Windows programs of the build under Wine, path conversion
registry  keys of the shared prefix changed by a test and put back afterwards
servers   loopback web servers (with faults on demand) and proxies
signing   throw-away code-signing identities and stubs packed with stubpack
pe        reading PE files with pefile, apart from the product's code
windows   the window host (main window, scripted worker) and the window inspector
urltoken  the URL token of download URLs, computed apart from the program
actions   the product's actions run by the actionrun helper, their store and log
proxy     the prefix's proxy settings and logins, and the proxy manager's answers
"""
